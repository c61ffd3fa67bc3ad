#pragma once
#include <string>
#include <vector>

#include "support/test_app.h"

namespace zw::test {

// Styles written the ways published styles write their include statements,
// under <dir>/styles:
//   forms:  a byte-order mark before the first statement; single, double and
//           no quotes; a file beside the rule files; "../shared/common", which
//           includes a file back inside the style; nesting three deep; an
//           include in relations; an options file that only includes
//           "../shared/options"; CR LF line ends and TAB indentation; rules
//           whose keyword follows "admin_level = 2", two blanks or a TAB.
//   cycle:  files that include each other, themselves and the rule file.
//   shared: the folder beside them that forms reaches with "../".
void write_form_styles(const TempDir& dir);

// The rows of the lines of "forms", with "Inc" and "All" ticked, as
// TestApp::rows() gives them.
std::vector<std::string> form_rows();

}  // namespace zw::test
