#pragma once
#include <string>
#include <string_view>

// The three ways the program reads numbers from texts, written once.
namespace zw::num {

// The numeric value of a text: leading blanks, tabs and line feeds skipped, then
// a sign, digits, a decimal point with digits and an exponent as far as they go.
// A text without a number is 0. Never fails.
double val(std::string_view s);

// The nearest whole number, halves to the even neighbour (22.5 -> 22, 23.5 -> 24).
// Fails with "Overflow" when the value does not fit in [lo, hi].
long long round_half_even(double x, long long lo, long long hi);
// The same into an int (drawing positions and sizes).
int to_int(double x);

// Whole-number conversion of a text: the text (blanks and tabs around it allowed)
// must be a number, rounded halves to even; fails with "Type mismatch" when it is
// not a number and with "Overflow" when it does not fit in [lo, hi].
long long to_whole(std::string_view s, long long lo, long long hi);

// A value rounded into a byte (0..255) or a 16-bit number, failing like to_whole.
int to_byte(double x);
int to_int16(double x);

// The value of a hexadecimal digit, either case; -1 for any other character.
int hex_digit(char c);

// A number as the settings files print it: one blank (or the minus sign) before
// it, one blank after it; single precision shows as many digits as it needs.
std::string print_field(double x);

}  // namespace zw::num
