#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zw {

// How much of a TYP entry the reader keeps. A swatch shows 32 cells across
// (a point pixel may take two characters) and 32 rows of a polygon or point;
// a line swatch shows every row, so a line is at most 32 rows between two
// borders of at most 32. A direct-colour point keeps the colours of its first
// 32 rows at any icon width up to 2048; colour indexes of two characters
// reach 3723. Rows, row lengths and headers are cut far beyond what real
// files have, so those are kept as written.
namespace typ_limits {
inline constexpr int line_width = 32;
inline constexpr std::size_t row_chars = 256;
inline constexpr std::size_t square_rows = 64;
inline constexpr std::size_t line_rows = 3 * line_width;
inline constexpr std::size_t direct_rows = 2048 * 32;
inline constexpr std::size_t colours = 4096;
inline constexpr std::size_t header_chars = 256;
// Sections of a file (a few hundred in real ones; each kind keeps at most
// 32767) and types in its draw order.
inline constexpr std::size_t sections = 3 * 32767 + 1024;
inline constexpr std::size_t draw_order = 65536;
}  // namespace typ_limits

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

// What the check of a style against its TYP file found, as its list shows it.
enum class Severity { note, warning };

struct TypFinding {
  Severity severity = Severity::note;
  int kind = -1;        // -1 where no kind applies (the family id)
  std::string key;      // the type key, 02f06; "" where no type applies
  std::string type;     // the type as a style writes it, 0x2f06
  std::string file;     // the rule file, or the TYP file for an entry's finding
  std::string name;     // that file as the user knows it: "inc/roads", the TYP file's path
  int line = 0;         // 0 where no line applies
  std::string finding;  // a short name: missing-type, not-in-draw-order ...
  std::string detail;
};

}  // namespace zw
