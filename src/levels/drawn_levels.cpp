#include "levels/drawn_levels.h"

#include <algorithm>

#include "base/text.h"

namespace zw {
namespace {

// The first n entries of a list, n clamped to the list (a read that stopped
// early can leave a "last" index beyond what was stored).
std::vector<std::uint8_t> first(const std::vector<std::uint8_t>& v, int last) {
  auto n = static_cast<std::size_t>(std::clamp(last + 1, 0, static_cast<int>(v.size())));
  return {v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n)};
}

}  // namespace

std::vector<int> drawn_levels(const LevelTable& levels, int from, int to) {
  std::vector<int> out;
  auto main = first(levels.level_res, levels.main_level_last);
  for (std::size_t i = 0; i < main.size(); ++i)
    if (from <= main[i] && main[i] <= to) out.push_back(static_cast<int>(i));
  return out;
}

std::string level_ranges(const std::vector<int>& levels) {
  if (levels.empty()) return "-";
  std::string out;
  for (std::size_t i = 0; i < levels.size();) {
    std::size_t j = i;
    while (j + 1 < levels.size() && levels[j + 1] == levels[j] + 1) ++j;
    if (!out.empty()) out += ',';
    out += text::decimal(levels[i]);
    if (j > i) out.append(1, '-').append(text::decimal(levels[j]));
    i = j + 1;
  }
  return out;
}

bool same_levels(const LevelTable& a, const LevelTable& b) {
  return first(a.level_res, a.main_level_last) == first(b.level_res, b.main_level_last) &&
         first(a.overview_res, a.overview_level_last) ==
             first(b.overview_res, b.overview_level_last) &&
         first(a.overview_level, a.overview_level_last) ==
             first(b.overview_level, b.overview_level_last);
}

}  // namespace zw
