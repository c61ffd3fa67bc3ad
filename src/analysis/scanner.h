#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The local state of one analysis run that the line scanner reads and updates.
struct ScanRun {
  std::vector<std::string> categories;  // lower-cased names, at most 21
  std::string filter;                   // lower-cased filter text
  int include_index = -1;               // -1 while the rule file itself is scanned
  int rows = 0;                         // rows stored so far
  bool undeclared_reported = false;     // "Found undeclared level" shown this run
};

// Scans one rule line (already lower-cased) with its 1-based line number; a line
// that passes is stored in the next row of the current kind, the table growing
// as needed.
void scan_line(AppState& s, Host& host, ScanRun& run, std::string_view line, int line_number);

// Resolves a range "a-b" (level numbers when lv): returns the lower resolution as
// text and puts the upper one in mx.
std::string get_res(AppState& s, Host& host, int chc, std::string_view s2, int& mx, bool lv);

// The type code after the first "0x" up to the next blank, upper case; "" when
// there is no "0x" or no blank after it.
std::string get_typ(std::string_view s1);

// The resolution of a level; fails outside the level table.
int level_resolution(const AppState& s, double level);

}  // namespace zw
