#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zw {

// One kind's entries of a TYP text file; entries 0..count-1 are valid.
struct TypTable {
  int count = 0;
  std::vector<std::string> type;     // type key, lower case
  std::vector<std::string> colours;  // BBGGRR entries, each followed by CR LF
  std::vector<std::string> pixels;   // pixel rows, each followed by CR LF
  std::vector<std::uint8_t> cpp;     // characters per pixel (points only)
};

struct TypTables {
  TypTable lines;     // typ_line_count, typ_line_type, ...
  TypTable polygons;  // typ_polygon_count, ...
  TypTable points;    // typ_point_count, ..., typ_point_cpp

  TypTable& of_kind(int kind) { return kind == 1 ? lines : kind == 2 ? points : polygons; }
};

}  // namespace zw
