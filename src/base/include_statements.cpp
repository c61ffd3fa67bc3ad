#include "base/include_statements.h"

#include <string>
#include <unordered_set>

namespace zw {
namespace {

bool blank(char c) {
  return c == ' ' || c == '\t';
}

// A bare name ends at a blank, a TAB, ";", a quote or the end of the line.
bool ends_bare_name(char c) {
  return blank(c) || c == ';' || c == '\'' || c == '"' || c == '\r';
}

bool starts_with_word(std::string_view s, std::size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = s[at + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return true;
}

std::size_t skip_blanks(std::string_view s, std::size_t at) {
  while (at < s.size() && blank(s[at])) ++at;
  return at;
}

}  // namespace

std::string too_long_include_message(std::string_view name, const std::string& file) {
  return "Not read: an include statement in " + file + " names a file of " +
         std::to_string(name.size()) + " characters, longer than any path (" +
         std::string(name.substr(0, 40)) + "...)";
}

std::string_view without_bom(std::string_view text) {
  constexpr std::string_view bom = "\xEF\xBB\xBF";
  return text.substr(0, bom.size()) == bom ? text.substr(bom.size()) : text;
}

std::optional<std::string> include_statement(std::string_view line) {
  std::size_t at = skip_blanks(line, 0);
  if (!starts_with_word(line, at, "include")) return std::nullopt;
  at += 7;
  if (at >= line.size() || !blank(line[at])) return std::nullopt;
  at = skip_blanks(line, at);
  if (at >= line.size()) return std::nullopt;
  std::string name;
  const char quote = line[at];
  const bool quoted = quote == '\'' || quote == '"';
  if (quoted) {
    auto close = line.find(quote, at + 1);
    if (close == std::string_view::npos) return std::nullopt;
    name = line.substr(at + 1, close - at - 1);
    at = close + 1;
  } else {
    auto start = at;
    while (at < line.size() && !ends_bare_name(line[at])) ++at;
    name = line.substr(start, at - start);
  }
  if (name.empty()) return std::nullopt;
  // "include NAME from STYLE" takes the file from another style.
  std::size_t next = skip_blanks(line, at);
  if ((next > at || quoted) && starts_with_word(line, next, "from") &&
      (next + 4 == line.size() || blank(line[next + 4])))
    return std::nullopt;
  return name;
}

std::vector<std::string> include_names(std::string_view text) {
  text = without_bom(text);
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  while (!text.empty()) {
    auto end = text.find('\n');
    auto line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    auto name = include_statement(line);
    if (name && seen.insert(*name).second) names.push_back(std::move(*name));
  }
  return names;
}

}  // namespace zw
