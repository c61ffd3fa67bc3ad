#include "typ/typ_sections.h"

#include "base/numbers.h"
#include "base/text.h"
#include "model/typ_tables.h"

namespace zw {
namespace {

std::string_view without_blanks(std::string_view s) {
  auto from = s.find_first_not_of(" \t");
  if (from == std::string_view::npos) return {};
  return s.substr(from, s.find_last_not_of(" \t\r") - from + 1);
}

bool is_header(std::string_view line) {
  return without_blanks(line).starts_with('[');
}

bool is_end(std::string_view line) {
  return text::lower(without_blanks(line)) == "[end]";
}

}  // namespace

std::string_view section_word(int kind) {
  return kind == 1 ? "_line" : kind == 2 ? "_point" : "_polygon";
}

bool typ_comment(std::string_view line) {
  return without_blanks(line).starts_with(';');
}

std::vector<TypSection> typ_sections(std::string_view all) {
  std::vector<TypSection> out;
  std::size_t body = 0;  // where the open section's piece starts
  bool open = false;
  auto close = [&](std::size_t end) {
    if (open) out.back().piece = all.substr(body, end - body);
    open = false;
  };
  std::size_t start = 0;
  for (int number = 1; start < all.size(); ++number) {
    auto end = all.find('\n', start);
    auto next = end == std::string_view::npos ? all.size() : end + 1;
    auto line = all.substr(start, (end == std::string_view::npos ? all.size() : end) - start);
    if (typ_comment(line)) {
    } else if (is_end(line)) {
      close(start);
    } else if (is_header(line)) {
      close(start);
      if (out.size() >= typ_limits::sections) break;
      TypSection section;
      section.header = without_blanks(line);
      section.line = number;
      body = next;
      for (int kind : {0, 1, 2}) {
        auto at = line.find(section_word(kind));
        if (at == std::string_view::npos) continue;
        section.kind = kind;
        body = start + at + section_word(kind).size();
        break;
      }
      out.push_back(section);
      open = true;
    }
    start = next;
  }
  close(start);
  return out;
}

std::optional<long> typ_number(std::string_view text) {
  auto t = without_blanks(text);
  bool hex = t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
  if (hex) t.remove_prefix(2);
  int base = hex ? 16 : 10;
  auto digit = [&](char c) {
    int d = num::hex_digit(c);
    return d < base ? d : -1;
  };
  if (t.empty() || digit(t[0]) < 0) return std::nullopt;
  long value = 0;
  for (std::size_t i = 0; i < t.size() && digit(t[i]) >= 0; ++i) {
    value = value * base + digit(t[i]);
    if (value > 0xfffff) return std::nullopt;
  }
  return value;
}

std::optional<std::string> typ_key(std::string_view type_text, std::optional<int> sub_type) {
  auto t = without_blanks(type_text);
  if (t.size() < 3 || t[0] != '0' || (t[1] != 'x' && t[1] != 'X')) return std::nullopt;
  auto number = typ_number(t);
  if (!number) return std::nullopt;
  long value = *number < 0x100 ? *number << 8 : *number;
  if (sub_type) value = (value & ~0xffL) | (*sub_type & 0xff);
  static constexpr const char* hex = "0123456789abcdef";
  std::string key(5, '0');
  for (int k = 4; k >= 0; --k, value >>= 4) key[static_cast<std::size_t>(k)] = hex[value & 15];
  return key;
}

std::optional<std::string> typ_value(std::string_view piece, std::string_view key) {
  std::optional<std::string> found;
  for_each_typ_line(piece, [&](std::string_view line, int) {
    auto t = without_blanks(line);
    if (t.size() <= key.size() || text::lower(t.substr(0, key.size())) != key ||
        t[key.size()] != '=')
      return true;
    found = std::string(without_blanks(t.substr(key.size() + 1)));
    return false;
  });
  return found;
}

bool typ_colour_line(std::string_view line) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  for (std::size_t at = 1; at + 1 < line.size(); ++at)
    if (line[at] == 'c' && blank(line[at - 1]) && blank(line[at + 1])) return true;
  return false;
}

}  // namespace zw
