#pragma once
#include <optional>
#include <vector>

#include "model/state.h"
#include "platform/host.h"
#include "typ/typ_check.h"

namespace zw {

// Every rule of the selected style that draws a type, of all three kinds, with
// the included files followed: what the analysis finds with "All" and "Inc"
// ticked. The window's own choices, tables and chart are left as they are.
std::vector<DrawnRule> drawn_rules(const AppState& s, Host& host);

// The selected style checked against the loaded TYP file (read again, so that
// the check sees the file as it is now). Nothing, after a message naming the
// file, when it cannot be read or holds no TYP section.
std::optional<std::vector<TypFinding>> check_style(const AppState& s, Host& host,
                                                   std::optional<long> family_id = {});

// Tools > "Check against TYP": checks, marks the chart rows whose type has a
// finding and shows the findings.
void check_typ_Click(AppState& s, Host& host);
// The findings dialog: a double-click on finding `index` opens its file in
// the editor, at its line; "Close" closes the dialog.
void typ_findings_DblClick(AppState& s, Host& host, int index);
void typ_findings_Close(AppState& s);

// A finding as the window lists it and the CLI prints it: severity, kind, type,
// file:line, finding, detail (fields empty where none applies).
std::vector<std::string> finding_fields(const TypFinding& f);

}  // namespace zw
