#include "base/numbers.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "base/failure.h"

namespace zw::num {
namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the number that starts at s[0] (sign, digits, point, exponent); 0 when
// there is no digit.
std::size_t number_length(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && is_digit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && is_digit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t exp_digits = 0;
    while (j < s.size() && is_digit(s[j])) ++j, ++exp_digits;
    if (exp_digits > 0) i = j;
  }
  return i;
}

// A number that number_length measured. Plain decimals of up to 15 digits are
// read without strtod: the digits and their power of ten are exact in a double,
// so one division rounds exactly as strtod does.
double parse(std::string_view number) {
  constexpr double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::size_t i = 0;
  bool negative = false;
  if (number[0] == '+' || number[0] == '-') negative = number[i++] == '-';
  std::uint64_t digits = 0;
  int count = 0, fraction = -1;
  for (; i < number.size(); ++i) {
    char c = number[i];
    if (c == '.') {
      fraction = 0;
      continue;
    }
    if (!is_digit(c) || ++count > 15) break;
    digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    if (fraction >= 0) ++fraction;
  }
  if (i == number.size()) {
    double v = static_cast<double>(digits) / powers[fraction > 0 ? fraction : 0];
    return negative ? -v : v;
  }
  // Exponents and long digit strings: strtod, from a copy that ends in NUL.
  char buffer[64];
  if (number.size() < sizeof buffer) {
    number.copy(buffer, number.size());
    buffer[number.size()] = '\0';
    return std::strtod(buffer, nullptr);
  }
  std::string copy(number);
  return std::strtod(copy.c_str(), nullptr);
}

}  // namespace

double val(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n')) ++i;
  s.remove_prefix(i);
  // Most values in rules are a few plain digits: read at once.
  std::size_t digits = 0;
  unsigned whole = 0;
  while (digits < s.size() && digits < 9 && is_digit(s[digits]))
    whole = whole * 10 + static_cast<unsigned>(s[digits++] - '0');
  auto next = digits < s.size() ? s[digits] : ' ';
  if (digits > 0 && !is_digit(next) && next != '.' && next != 'e' && next != 'E') return whole;
  auto n = number_length(s);
  return n == 0 ? 0.0 : parse(s.substr(0, n));
}

long long round_half_even(double x, long long lo, long long hi) {
  if (!std::isfinite(x)) fail("Overflow");
  double r = std::nearbyint(x);  // the default rounding mode goes halves to even
  if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) fail("Overflow");
  return static_cast<long long>(r);
}

long long to_whole(std::string_view s, long long lo, long long hi) {
  std::size_t from = 0, to = s.size();
  while (from < to && (s[from] == ' ' || s[from] == '\t')) ++from;
  while (to > from && (s[to - 1] == ' ' || s[to - 1] == '\t')) --to;
  auto body = s.substr(from, to - from);
  auto n = number_length(body);
  if (n == 0 || n != body.size()) fail("Type mismatch: \"" + std::string(s) + "\" is not a number");
  return round_half_even(parse(body), lo, hi);
}

int to_int(double x) {
  return static_cast<int>(round_half_even(x, INT_MIN, INT_MAX));
}
int to_byte(double x) {
  // A whole number in range, as most are, needs no rounding.
  if (x >= 0 && x <= 255 && x == static_cast<double>(static_cast<int>(x)))
    return static_cast<int>(x);
  return static_cast<int>(round_half_even(x, 0, 255));
}
int to_int16(double x) {
  return static_cast<int>(round_half_even(x, -32768, 32767));
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string print_field(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.7g", static_cast<double>(static_cast<float>(x)));
  std::string digits = buf;
  if (digits.find('e') != std::string::npos && std::fabs(x) < 1e15) {
    std::snprintf(buf, sizeof buf, "%.0f", x);
    digits = buf;
  }
  if (digits == "-0") digits = "0";
  return (digits[0] == '-' ? "" : " ") + digits + " ";
}

}  // namespace zw::num
