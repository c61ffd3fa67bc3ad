#include "base/display_text.h"

#include <array>
#include <cstdint>

namespace zw {
namespace {

// The code point of the valid UTF-8 sequence at s[i], its length in n; -1
// when the bytes there are not UTF-8 (overlong forms, surrogates and values
// beyond Unicode included).
long decode_at(const std::string& s, std::size_t i, int& n) {
  auto c = static_cast<unsigned char>(s[i]);
  std::uint32_t cp = 0;
  int more = 0;
  if (c < 0x80) {
    n = 1;
    return c;
  } else if (c >= 0xC2 && c <= 0xDF) {
    more = 1, cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    more = 2, cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    more = 3, cp = c & 0x07;
  } else {
    return -1;
  }
  if (i + static_cast<std::size_t>(more) >= s.size()) return -1;
  for (int k = 1; k <= more; ++k) {
    auto next = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((next & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (next & 0x3F);
  }
  if ((more == 2 && cp < 0x800) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return -1;
  n = more + 1;
  return static_cast<long>(cp);
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned bytes keep
// their C1 code point.
constexpr std::array<char16_t, 32> cp1252_high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_utf16(std::u16string& out, std::uint32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::u16string display_utf16(const std::string& bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    int n = 0;
    long cp = decode_at(bytes, i, n);
    if (cp < 0) break;
    append_utf16(out, static_cast<std::uint32_t>(cp));
    i += static_cast<std::size_t>(n);
  }
  if (i == bytes.size()) return out;
  out.clear();
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    out += c >= 0x80 && c <= 0x9F ? cp1252_high[c - 0x80] : static_cast<char16_t>(c);
  }
  return out;
}

std::string typed_utf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    append_utf8(out, c);
  }
  return out;
}

}  // namespace zw
