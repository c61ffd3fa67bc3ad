#include <gtest/gtest.h>

#include <cmath>

#include "app/failure.h"
#include "app/numbers.h"

namespace zw::num {
namespace {

TEST(Numbers, ValueOfATextNeverFails) {
  struct V { const char* text; double value; };
  for (const auto& v : std::vector<V>{{"20", 20},       {" \t\n20]", 20}, {"-3.5x", -3.5},
                                      {"1e2", 100},     {"1e", 1},        {".5", 0.5},
                                      {"abc", 0},       {"", 0},          {"+7", 7},
                                      {"2-0", 2},       {"0x1f", 0},      {"1e999", HUGE_VAL}})
    EXPECT_EQ(val(v.text), v.value) << v.text;
}

TEST(Numbers, RoundingGoesHalvesToEven) {
  EXPECT_EQ(round_half_even(22.5, 0, 255), 22);
  EXPECT_EQ(round_half_even(23.5, 0, 255), 24);
  EXPECT_EQ(round_half_even(2.5, 0, 255), 2);
  EXPECT_EQ(round_half_even(1.25, 0, 255), 1);
  EXPECT_EQ(round_half_even(-0.5, -9, 9), 0);
  EXPECT_THROW(round_half_even(255.6, 0, 255), RunError);
  EXPECT_THROW(round_half_even(HUGE_VAL, 0, 255), RunError);
}

TEST(Numbers, WholeNumberConversionFailsOnNoNumberOrOutOfRange) {
  EXPECT_EQ(to_whole("24", 0, 255), 24);
  EXPECT_EQ(to_whole(" 22.5\t", 0, 255), 22);
  EXPECT_THROW(to_whole("", 0, 255), RunError);
  EXPECT_THROW(to_whole("x", 0, 255), RunError);
  EXPECT_THROW(to_whole("24x", 0, 255), RunError);
  EXPECT_THROW(to_whole("256", 0, 255), RunError);
  EXPECT_THROW(to_whole("-1", 0, 255), RunError);
}

TEST(Numbers, SettingsNumberFieldHasBlanksAround) {
  EXPECT_EQ(print_field(10), " 10 ");
  EXPECT_EQ(print_field(9.5), " 9.5 ");
  EXPECT_EQ(print_field(-1), "-1 ");
  EXPECT_EQ(print_field(0), " 0 ");
}

}  // namespace
}  // namespace zw::num
