#pragma once
#include <string>
#include <vector>

#include "model/state.h"
#include "platform/host.h"

// The chart follows its files: a rule file, an included file, the options file
// or the TYP file saved in an editor redraws the chart as it stands (kind,
// ticks, scroll position), without a click.
namespace zw {

// The files the chart on screen is drawn from: the rule file of the kind
// charted, the files it includes (when "Inc" follows them), the style's options
// file and the TYP file.
std::vector<std::string> charted_files(const AppState& s);
// Follows the files of the chart just drawn.
void follow_chart(AppState& s, Host& host);
// A followed file changed: the chart is redrawn once saving is over.
void file_changed(AppState& s, Host& host, const std::string& path);
// How long no followed file must change before the chart is redrawn: an editor
// saves in several steps (truncate, write, rename), and a burst is one save.
inline constexpr double follow_quiet_seconds = 0.03;
// The wait after a change: the chart is redrawn once the files are quiet and
// no other handler is under way.
void files_timer_Timer(AppState& s, Host& host);

}  // namespace zw
