#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// Reads a file for the include search and normalises its blanks around "=",
// "[" and "]"; "" when the path is empty, names no file or is refused.
std::string loadbinary(AppState& s, Host& host, const std::string& path, bool flag);

// The files that the include statements of a text name, in statement order,
// each once, with the host's separators.
std::vector<std::string> chk_include(const std::string& s1);

// Collects the files that the rule file of the kind includes, and the files
// those include to any depth (breadth first), into the include tables; each
// file is recorded once per kind. Returns true when it did nothing because a
// search was already under way. A caller that has just read the rule file
// passes its text (as read, not empty), which is then not read again.
bool chknodata(AppState& s, Host& host, int kind, const std::string* rule_text = nullptr);

// Marks the include search of the kind done, and a scan under way until the
// analysis ends, as chknodata does before it searches: all it does for a rule
// file that holds no include statement, which a caller that tested the text as
// it read it may call instead.
void mark_include_search(AppState& s, int kind);

// Whether a line, as written, may start an include statement: whether it
// starts with the word "include" (past blanks, TABs, CRs and a byte-order
// mark). A text none of whose lines passes holds none.
bool line_may_include(std::string_view line);

// The path of the rule file of kind k of the selected style.
std::string rule_file_path(const AppState& s, int kind);

// Where a chart row's rule is: the rule file of the kind, or the included file
// its line reference names ("b)45": the second), and the line.
struct RowSource {
  std::string file;
  int line = 0;
};
RowSource row_source(const AppState& s, int kind, std::string_view reference);

}  // namespace zw
