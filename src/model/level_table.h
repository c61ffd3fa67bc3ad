#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zw {

// The levels a style declares in its options file.
struct LevelTable {
  // Resolution per level: the main list by position, then the overview
  // resolutions appended. Indices 0..level_last.
  std::vector<std::uint8_t> level_res;
  int main_level_last = -1;
  std::vector<std::uint8_t> overview_res;    // 0..overview_level_last
  std::vector<std::uint8_t> overview_level;  // 0..overview_level_last
  int overview_level_last = -1;
  int level_last = -1;
  bool options_found = false;  // the last read found the style's options file
};

}  // namespace zw
