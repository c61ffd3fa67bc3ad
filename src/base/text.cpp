#include "base/text.h"

#include <algorithm>

namespace zw::text {

int find(std::string_view s, std::string_view what, int start) {
  if (start < 1) start = 1;
  if (static_cast<std::size_t>(start - 1) > s.size()) return 0;
  auto at = s.find(what, static_cast<std::size_t>(start - 1));
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

int find_last(std::string_view s, std::string_view what) {
  auto at = s.rfind(what);
  return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

bool contains(std::string_view s, std::string_view what) {
  return s.find(what) != std::string_view::npos;
}

bool starts_with(std::string_view s, std::string_view what) {
  return s.starts_with(what);
}

std::string mid(std::string_view s, int start, int count) {
  if (start < 1) start = 1;
  auto from = static_cast<std::size_t>(start - 1);
  if (from >= s.size()) return {};
  if (count < 0) return std::string(s.substr(from));
  return std::string(s.substr(from, static_cast<std::size_t>(count)));
}

std::string left(std::string_view s, int count) {
  if (count <= 0) return {};
  return std::string(s.substr(0, static_cast<std::size_t>(count)));
}

std::string right(std::string_view s, int count) {
  if (count <= 0) return {};
  auto n = std::min(s.size(), static_cast<std::size_t>(count));
  return std::string(s.substr(s.size() - n));
}

std::string lower(std::string_view s) {
  std::string out(s);
  lower_in_place(out);
  return out;
}

void lower_into(char* to, std::string_view from) {
  // Without a branch, so that the compiler can lower many bytes at a time.
  for (std::size_t i = 0; i < from.size(); ++i) {
    auto u = static_cast<unsigned char>(from[i]);
    to[i] = static_cast<char>(u + (static_cast<unsigned char>(u - 'A') < 26 ? 'a' - 'A' : 0));
  }
}

void lower_in_place(std::string& s) {
  lower_into(s.data(), s);
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = upper_ascii(c);
  return out;
}

std::string trim_left(std::string_view s) {
  auto from = s.find_first_not_of(' ');
  return from == std::string_view::npos ? std::string() : std::string(s.substr(from));
}

std::string trim(std::string_view s) {
  auto from = s.find_first_not_of(' ');
  if (from == std::string_view::npos) return {};
  auto to = s.find_last_not_of(' ');
  return std::string(s.substr(from, to - from + 1));
}

std::string replace_all(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  std::size_t pos = 0;
  while (true) {
    auto at = s.find(from, pos);
    if (at == std::string_view::npos) break;
    out.append(s.substr(pos, at - pos));
    out.append(to);
    pos = at + from.size();
  }
  out.append(s.substr(pos));
  return out;
}

void replace_all_in(std::string& s, std::string_view from, std::string_view to) {
  if (from.empty() || s.find(from) == std::string::npos) return;
  s = replace_all(s, from, to);
}

std::string remove_all(std::string_view s, std::string_view what) {
  return replace_all(s, what, "");
}

std::vector<std::string> split(std::string_view s, std::string_view sep) {
  std::vector<std::string> pieces;
  if (s.empty()) return pieces;
  if (sep.empty()) {
    pieces.emplace_back(s);
    return pieces;
  }
  std::size_t pos = 0;
  while (true) {
    auto at = s.find(sep, pos);
    if (at == std::string_view::npos) {
      pieces.emplace_back(s.substr(pos));
      return pieces;
    }
    pieces.emplace_back(s.substr(pos, at - pos));
    pos = at + sep.size();
  }
}

std::string before(std::string_view s, std::string_view what) {
  auto at = s.find(what);
  return std::string(at == std::string_view::npos ? s : s.substr(0, at));
}

std::string after(std::string_view s, std::string_view what) {
  auto at = s.find(what);
  return at == std::string_view::npos ? std::string() : std::string(s.substr(at + what.size()));
}

std::string decimal(long long n) {
  return std::to_string(n);
}

}  // namespace zw::text
