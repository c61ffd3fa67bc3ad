#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/numbers.h"
#include "base/text.h"

namespace zw::num {
namespace {

TEST(Numbers, ValueOfATextNeverFails) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"20", 20}, {" \t\n20]", 20}, {"-3.5x", -3.5}, {"1e2", 100},
               {"1e", 1},  {".5", 0.5},      {"abc", 0},      {"", 0},
               {"+7", 7},  {"2-0", 2},       {"0x1f", 0},     {"1e999", HUGE_VAL}};
  for (const auto& v : cases) EXPECT_EQ(val(v.text), v.value) << v.text;
}

// Plain decimals are read without strtod; every form must give strtod's double
// to the bit, the sign of zero included.
TEST(Numbers, ValueIsStrtodsToTheBit) {
  // Signed zeros, a trailing point, rounding at the last digit, beyond 2^53, subnormals.
  auto numbers = text::split(
      "0 -0 -0.0 +0 20.5 22. .5 020 19.49 0.1 0.3 123456789012345 999999999999999 "
      "1234567890123456 9007199254740993 0.000000000000001 0.0000000000000001 4503599627370496.5 "
      "1.7976931348623157e308 2e1 1e-400 16e+ 17.000000000000001",
      " ");
  std::uint32_t seed = 19;
  auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
  for (int i = 0; i < 20000; ++i) {
    std::string n = next() % 4 == 0 ? "-" : "";
    int digits = 1 + static_cast<int>(next() % 18), point = static_cast<int>(next() % (digits + 2));
    for (int d = 0; d < digits; ++d) {
      if (d == point) n += '.';
      n += static_cast<char>('0' + next() % 10);
    }
    numbers.push_back(n);
  }
  for (const auto& n : numbers) {
    double expected = std::strtod(n.c_str(), nullptr), got = val(n);
    EXPECT_EQ(std::memcmp(&expected, &got, sizeof got), 0) << n << ": " << got;
  }
}

TEST(Numbers, WholeNumberConversionFailsOnNoNumberOrOutOfRange) {
  EXPECT_EQ(to_whole(" 22.5\t", 0, 255), 22);
  for (const char* bad : {"", "x", "24x", "256", "-1"})
    EXPECT_THROW(to_whole(bad, 0, 255), RunError) << bad;
}

// The settings file's number fields, as stored files have them: no blank
// before a minus (" 9.5 " and " 0 " are in Settings.WritesThirtyLinesWithCrLf).
TEST(Numbers, SettingsNumberFieldHasNoBlankBeforeAMinus) {
  EXPECT_EQ(print_field(-1), "-1 ");
}

}  // namespace
}  // namespace zw::num
