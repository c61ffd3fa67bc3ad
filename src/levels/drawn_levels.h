#pragma once
#include <string>
#include <vector>

#include "model/level_table.h"

namespace zw {

// The main levels at which mkgmap draws a rule that applies from resolution
// `from` to `to`: level i when from <= level_res(i) <= to, in level order.
std::vector<int> drawn_levels(const LevelTable& levels, int from, int to);

// Levels written as ranges: "0-2", "0-1,3"; "-" when there are none.
std::string level_ranges(const std::vector<int>& levels);

// Whether two level tables declare the same main and overview levels.
bool same_levels(const LevelTable& a, const LevelTable& b);

}  // namespace zw
