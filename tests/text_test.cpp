#include <gtest/gtest.h>

#include "app/text.h"

namespace zw::text {
namespace {

TEST(Text, PositionsCountFromOne) {
  EXPECT_EQ(find("abcabc", "b"), 2);
  EXPECT_EQ(find("abcabc", "b", 3), 5);
  EXPECT_EQ(find("abc", "x"), 0);
  EXPECT_EQ(find("abc", "a", 10), 0);
  EXPECT_EQ(mid("resolution 20]", 12), "20]");
  EXPECT_EQ(mid("abcdef", 2, 3), "bcd");
  EXPECT_EQ(mid("abc", 9), "");
  EXPECT_EQ(left("abc", 5), "abc");
  EXPECT_EQ(right("abc", 2), "bc");
}

TEST(Text, SplitOfEmptyTextHasNoPieces) {
  EXPECT_TRUE(split("", ",").empty());
  EXPECT_EQ(split("0:24,1:22,", ",").size(), 3u);
  EXPECT_EQ(split(",", ",").size(), 2u);
}

TEST(Text, ReplaceIsOnePassLeftToRight) {
  EXPECT_EQ(replace_all("a    b", "  ", " "), "a  b");
  EXPECT_EQ(replace_all("x]y]", "]", " ]"), "x ]y ]");
}

TEST(Text, CaseChangesLeaveNonAsciiBytesAlone) {
  const std::string utf8 = "Stra\xc3\x9f" "e \xc3\x84";  // "Straße Ä"
  EXPECT_EQ(lower(utf8), "stra\xc3\x9f" "e \xc3\x84");
  EXPECT_EQ(upper("0x2f06 \xe9"), "0X2F06 \xe9");
}

TEST(Text, TrimRemovesBlanksOnly) {
  EXPECT_EQ(trim("  a b \t "), "a b \t");
  EXPECT_EQ(trim("   "), "");
}

}  // namespace
}  // namespace zw::text
