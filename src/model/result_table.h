#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/text_column.h"

namespace zw {

inline constexpr int kind_count = 3;  // 0 polygons, 1 lines, 2 points
// The rows a table is made with; a kind's arrays grow past them as rows are
// stored, so no rule is ever cut off.
inline constexpr int result_rows = 801;

// The rule file name of a kind: polygons, lines, points.
const char* kind_name(int kind);

// The analysis result: six parallel arrays, [kind][row], rows 0 .. rows(kind)-1.
struct ResultTable {
  std::array<TextColumn, kind_count> rule_type;
  std::array<TextColumn, kind_count> rule_text;
  std::array<std::vector<std::uint8_t>, kind_count> res_from;
  std::array<std::vector<std::uint8_t>, kind_count> res_to;
  std::array<TextColumn, kind_count> rule_line;
  std::array<std::vector<char>, kind_count> rule_continue;  // 0 or 1

  ResultTable() { re_dim(result_rows - 1); }

  // Discards every row and creates the arrays again, empty, with rows 0..last.
  void re_dim(int last);
  int rows(int kind = 0) const;
  // Makes row i of a kind exist in all six arrays (new rows empty).
  void reach(int kind, int i) {
    // Every stored row comes here; most are in the arrays already.
    if (kind < 0 || kind >= kind_count || i < 0 ||
        static_cast<std::size_t>(i) >= rule_type[static_cast<std::size_t>(kind)].size())
      grow_to(kind, i);
  }
  // Makes room for rows 0 .. last of a kind, and for text_bytes more of rule
  // text, so that reaching them moves no row already stored.
  void reserve(int kind, int last, std::size_t text_bytes = 0);

 private:
  void grow_to(int kind, int i);
};

}  // namespace zw
