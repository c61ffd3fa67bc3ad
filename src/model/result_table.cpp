#include "model/result_table.h"

#include <algorithm>

#include "base/failure.h"

namespace zw {

const char* kind_name(int kind) {
  switch (kind) {
    case 0:
      return "polygons";
    case 1:
      return "lines";
    case 2:
      return "points";
  }
  fail("Subscript out of range: kind " + std::to_string(kind));
}

void ResultTable::re_dim(int last) {
  auto n = static_cast<std::size_t>(last < 0 ? 0 : last + 1);
  for (int k = 0; k < kind_count; ++k) {
    rule_type[k].assign(n);
    rule_text[k].assign(n);
    res_from[k].assign(n, 0);
    res_to[k].assign(n, 0);
    rule_line[k].assign(n);
    rule_continue[k].assign(n, 0);
  }
}

int ResultTable::rows(int kind) const {
  return static_cast<int>(bounded(rule_type, kind, "kind").size());
}

void ResultTable::grow_to(int kind, int i) {
  auto size = bounded(rule_type, kind, "kind").size();
  if (i < 0 || size > static_cast<std::size_t>(i)) return;
  // Grown by half again at a time: a table of a hundred thousand rows is
  // filled in linear time, not reallocated on every row. Room made before
  // is used first.
  auto k = static_cast<std::size_t>(kind);
  auto n = static_cast<std::size_t>(i) + 1;
  auto room = rule_type[k].capacity();
  // Where room was made, rows are added a few thousand at a time, not one at
  // a time: rows beyond those filled are empty, as after re_dim.
  n = n > room ? std::max(n, size + size / 2) : std::min(room, std::max(n, size + 4096));
  rule_type[k].resize(n);
  rule_text[k].resize(n);
  res_from[k].resize(n, 0);
  res_to[k].resize(n, 0);
  rule_line[k].resize(n);
  rule_continue[k].resize(n, 0);
}

void ResultTable::reserve(int kind, int last, std::size_t text_bytes) {
  auto n = static_cast<std::size_t>(std::max(0, last) + 1);
  auto k = static_cast<std::size_t>(kind);
  auto more = n > rule_text[k].size() ? n - rule_text[k].size() : 0;
  // Types are a few characters, line references "b)12345".
  bounded(rule_type, kind, "kind").reserve(n, more * 4);
  rule_text[k].reserve(n, text_bytes);
  res_from[k].reserve(n);
  res_to[k].reserve(n);
  rule_line[k].reserve(n, more * 8);
  rule_continue[k].reserve(n);
}

}  // namespace zw
