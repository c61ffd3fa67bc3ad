#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "model/text_column.h"

namespace zw {
namespace {

// Rows keep their texts through a text taken from the column itself while
// it grows, a shorter text written over a longer one, a copy, and a move
// (after which the column moved from is empty and takes rows again).
TEST(TextColumn, RowsKeepTheirTextsThroughGrowthCopiesAndMoves) {
  TextColumn c;
  c.resize(3);
  c.set(0, "highway=primary [0x01 resolution 20]");
  for (int i = 0; i < 200; ++i) c.set(1, c[0]);  // grows while reading itself
  c.set(2, std::string(5000, 'x'));
  c.set(0, "short");
  EXPECT_EQ(c[0], "short");
  EXPECT_EQ(c[1], "highway=primary [0x01 resolution 20]");
  EXPECT_EQ(c[2].size(), 5000u);
  TextColumn copy = c;
  c.set(1, "changed");
  EXPECT_EQ(copy[1], "highway=primary [0x01 resolution 20]");
  TextColumn moved = std::move(copy);
  EXPECT_EQ(moved[0], "short");
  EXPECT_TRUE(copy.empty());  // NOLINT: a column moved from is empty
  copy.resize(1);
  copy.set_with(0, 3, [](char* to) {
    to[0] = 'a', to[1] = 'b';
    return std::size_t{2};
  });
  EXPECT_EQ(copy[0], "ab");
  EXPECT_THROW(copy.set(1, "beyond"), RunError);
}

}  // namespace
}  // namespace zw
