#pragma once
#include <optional>
#include <string>
#include <vector>

#include "model/typ_tables.h"
#include "typ/typ_entries.h"

namespace zw {

// One rule of a style that draws a type: where it is and at which main levels
// mkgmap draws it.
struct DrawnRule {
  int kind = 0;      // 0 polygons, 1 lines, 2 points
  std::string type;  // as the rule writes it, without "0x"
  std::string file;  // the rule file's path
  std::string name;  // the file as its style names it: "lines", "inc/roads"
  int line = 0;      // its line in that file
  std::vector<int> levels;
};

// Two colours nearer than this (CIEDE2000) are taken for one on a device:
// about three times the least difference a careful eye sees between large
// patches on a good screen, as a device's small, 16-bit, often sunlit screen
// shows them. Colours defined exactly alike are the author's choice and only
// a note.
inline constexpr double alike_colour_difference = 3.0;

// The type key of a rule's type code, as typ_key reads a TYP file's: the
// rule's "2f06" is 02f06, "2f" 02f00; "" for a code that is no hexadecimal number.
std::string rule_type_key(const std::string& type);
// A type key as a style writes it: 02f06 as "0x2f06", 02f00 as "0x2f".
std::string type_shown(const std::string& key);
const char* severity_name(Severity s);
// A type key with its kind digit in front: what tells types of a style apart.
std::string kind_type_key(int kind, const std::string& key);

// The findings of a style's drawing rules against a TYP file read from
// typ_path: warnings first, each group in rule order. family_id is the map's,
// when known.
std::vector<TypFinding> check_against_typ(const std::vector<DrawnRule>& rules, const TypFile& typ,
                                          const std::string& typ_path,
                                          std::optional<long> family_id);

// "2 warnings, 5 notes".
std::string findings_summary(const std::vector<TypFinding>& findings);

}  // namespace zw
