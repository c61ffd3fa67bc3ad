#include "base/paths.h"

#include <vector>

namespace zw::paths {
namespace {

std::size_t last_separator(std::string_view s) {
  return s.find_last_of("/\\");
}

}  // namespace

std::string to_host(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (is_separator(c)) c = separator;
  return out;
}

std::string collapse(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  std::size_t i = 0;
#ifdef _WIN32
  if (path.size() >= 2 && is_separator(path[0]) && is_separator(path[1])) {
    out += "\\\\";
    i = 2;
  }
#endif
  for (; i < path.size(); ++i) {
    char c = path[i];
    if (is_separator(c)) {
      if (!out.empty() && out.back() == separator && i > 0 && is_separator(path[i - 1])) continue;
      out += separator;
    } else {
      out += c;
    }
  }
  return out;
}

std::string normal(std::string_view path) {
  std::string whole = collapse(path);
  // The root: a leading separator (two for a network path) or a drive.
  std::size_t root = 0;
  while (root < whole.size() && root < 2 && whole[root] == separator) ++root;
#ifdef _WIN32
  if (root == 0 && whole.size() >= 2 && whole[1] == ':')
    root = whole.size() > 2 && whole[2] == separator ? 3 : 2;
#endif
  std::vector<std::string_view> kept;
  std::string_view rest = std::string_view(whole).substr(root);
  while (!rest.empty()) {
    auto end = rest.find(separator);
    auto piece = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (piece.empty() || piece == ".") continue;
    if (piece == ".." && !kept.empty() && kept.back() != "..") {
      kept.pop_back();
    } else if (piece != ".." || root == 0) {
      kept.push_back(piece);
    }
  }
  std::string out = whole.substr(0, root);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) out += separator;
    out += kept[i];
  }
  return out.empty() ? std::string(".") : out;
}

std::string join(std::string_view a, std::string_view b) {
  std::string joined(a);
  joined += separator;
  joined += b;
  return collapse(joined);
}

std::string part(std::string_view path, int mode) {
  auto p = last_separator(path);
  if (mode == 0) return std::string(p == std::string_view::npos ? path : path.substr(0, p + 1));
  if (mode == 1) return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
  if (p == std::string_view::npos) return std::string(path);
  auto rest = path.substr(0, p);
  auto q = last_separator(rest);
  if (q == std::string_view::npos) return {};
  if (mode == 2) return std::string(rest.substr(q + 1));
  return std::string(rest.substr(0, q));
}

}  // namespace zw::paths
