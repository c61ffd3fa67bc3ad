#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/colour.h"

namespace zw {

// How one [_polygon], [_line] or [_point] section of a TYP text file draws
// its type in daylight, as far as the check of a style against it needs.
struct TypEntry {
  int kind = 0;     // 0 polygon, 1 line, 2 point
  std::string key;  // five-digit type key; "" when the section has no readable type
  int line = 0;     // the section header's line in the file
  // Day colours in the order the device uses them (a line's colour before its
  // border's); nothing for a transparent one.
  std::vector<std::optional<Colour>> day;
  std::vector<std::string> rows;  // the day bitmap's rows; none for a solid colour
  int width = 0;                  // lines: the width in pixels, bitmap or LineWidth
  int border = 0;                 // lines: BorderWidth
  std::string night_missing;      // what the night part lacks; "" when nothing
};

// What a TYP text file declares beyond its tables.
struct TypFile {
  std::vector<TypEntry> entries;
  bool has_draw_order = false;
  std::unordered_map<std::string, int> draw_order;  // polygon type key -> its line
  std::optional<long> family_id;
  int family_id_line = 0;
};

TypFile read_typ_file(std::string_view all);

}  // namespace zw
