#pragma once
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// The string operations the program's rules are written in. Positions count
// from 1, and 0 means "not found", so that every rule reads the same way.
// Case changes are ASCII only: bytes above 127 pass unchanged.
namespace zw::text {

// Position (from 1) of the first `what` in `s` at or after `start`; 0 when absent.
int find(std::string_view s, std::string_view what, int start = 1);
// Position of the last `what` in `s`; 0 when absent.
int find_last(std::string_view s, std::string_view what);
bool contains(std::string_view s, std::string_view what);
bool starts_with(std::string_view s, std::string_view what);

// `count` characters from position `start` (from 1); all the rest when count < 0.
std::string mid(std::string_view s, int start, int count = -1);
std::string left(std::string_view s, int count);
std::string right(std::string_view s, int count);

std::string lower(std::string_view s);
void lower_in_place(std::string& s);
// Writes `from` lower-cased to `to`, which may be where it stands.
void lower_into(char* to, std::string_view from);
std::string upper(std::string_view s);
inline char upper_ascii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Eight bytes read as one word, for loops over big texts that skip plain
// stretches a word at a time. The flag tests set the high bit of every byte
// that matches, and may set it on a byte above one that does: a flagged word
// is looked at byte by byte.
inline constexpr bool words_read_in_order = std::endian::native == std::endian::little;
inline std::uint64_t word_at(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
inline constexpr std::uint64_t byte_ones = 0x0101010101010101ULL;
inline std::uint64_t flags_equal(std::uint64_t w, unsigned char b) {
  std::uint64_t x = w ^ (byte_ones * b);
  return (x - byte_ones) & ~x & (byte_ones * 0x80);
}
// n at most 0x80.
inline std::uint64_t flags_below(std::uint64_t w, unsigned char n) {
  return (w - byte_ones * n) & ~w & (byte_ones * 0x80);
}

// Sixteen bytes read as one block, where the compiler makes one vector of
// them: a test of a block gives 0xff for each byte that matches and 0 for
// the others, exactly. Blocks are used where words are read in order.
using Block = unsigned char __attribute__((vector_size(16)));
inline Block block_at(const char* p) {
  Block b;
  std::memcpy(&b, p, sizeof b);
  return b;
}
// The number of bytes of a test's result before the first that matched,
// counting from byte `from` (below 16) on: 16 - from when none did.
template <class Matched>
std::size_t clean_bytes(Matched matched, std::size_t from = 0) {
  static_assert(sizeof matched == sizeof(Block));
  std::uint64_t half[2];
  std::memcpy(half, &matched, sizeof half);
  if (from >= 8) {
    half[0] = 0;
    half[1] &= ~std::uint64_t{0} << (8 * (from - 8));
  } else {
    half[0] &= ~std::uint64_t{0} << (8 * from);
  }
  if (half[0] != 0) return static_cast<std::size_t>(std::countr_zero(half[0])) / 8 - from;
  if (half[1] != 0) return 8 + static_cast<std::size_t>(std::countr_zero(half[1])) / 8 - from;
  return 16 - from;
}

// Removes blanks (not tabs) from both ends.
std::string trim(std::string_view s);
std::string trim_left(std::string_view s);

// Replaces every occurrence of `from`, left to right in one pass.
std::string replace_all(std::string_view s, std::string_view from, std::string_view to);
// The same in place: a text without `from` is left as it is, not copied.
void replace_all_in(std::string& s, std::string_view from, std::string_view to);
std::string remove_all(std::string_view s, std::string_view what);

// Splits at every `sep`. An empty text has no pieces at all.
std::vector<std::string> split(std::string_view s, std::string_view sep);

// The text up to (not including) the first `what`; the whole text when absent.
std::string before(std::string_view s, std::string_view what);
// The text after the first `what`; "" when absent.
std::string after(std::string_view s, std::string_view what);

std::string decimal(long long n);

}  // namespace zw::text
