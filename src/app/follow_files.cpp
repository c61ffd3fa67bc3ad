#include "app/follow_files.h"

#include <algorithm>
#include <cmath>

#include "analysis/includes.h"
#include "app/check_handlers.h"
#include "app/main_window.h"
#include "app/style_check.h"
#include "base/failure.h"
#include "base/paths.h"
#include "base/text.h"
#include "chart/chart.h"
#include "levels/options_file.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

bool listed(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// The chart drawn again from the files as they are now, with what the window
// shows kept: the kind, the ticks, the resolution of a scale-label run and the
// scroll position. Nothing asks while the user is in the editor; what went
// wrong is said in one box, and not again while it stays the same.
void redraw(AppState& s, Host& host) {
  auto changed = std::move(s.followed.changed);
  s.followed.changed.clear();
  auto& f = s.f1;
  int scroll = f.vs.value;
  int resolution = s.selected_res;
  NoteKeepingHost quiet(host, false);
  if (listed(changed, options_file_path(s)))
    attempt_quietly([&] {
      get_levels(s, quiet, paths::collapse(s.style_root + paths::sep_text + s.style_name));
    });
  if (!s.typ_file.empty() && listed(changed, s.typ_file))
    attempt_quietly([&] { loadtyp(s, quiet, s.typ_file); });
  int runs = s.analysis_runs;
  if (resolution >= 0)
    Label3_Click(s, quiet, resolution);
  else
    command2_Click(s, quiet);
  f.vs.value = std::clamp(scroll, 0, std::max(0, f.vs.max));
  attempt_quietly([&] { vs_Scroll(s, quiet); });
  // The scratch host follows nothing: the window's own does. A chart that
  // could not be drawn at all (its style folder gone) is followed no more.
  if (s.analysis_runs > runs) {
    follow_chart(s, host);
  } else {
    s.followed.paths.clear();
    host.file_watch().watch({});
  }
  std::string said;
  for (const auto& note : quiet.notes) said += (said.empty() ? "" : "\r\n") + note;
  if (!said.empty() && said != s.followed.said) host.message(said);
  s.followed.said = said;
}

}  // namespace

std::vector<std::string> charted_files(const AppState& s) {
  std::vector<std::string> files{rule_file_path(s, s.selected_kind)};
  const auto& inc = s.includes;
  auto digit = std::to_string(s.selected_kind);
  if (s.f1.inc.value == 1)
    for (int k = 0; k <= inc.extra_count && k < include_entries; ++k) {
      const auto& entry = inc.extra_files[static_cast<std::size_t>(k)];
      if (text::starts_with(entry, digit)) files.push_back(entry.substr(1));
    }
  files.push_back(options_file_path(s));
  if (!s.typ_file.empty()) files.push_back(s.typ_file);
  return files;
}

void follow_chart(AppState& s, Host& host) {
  s.followed.paths = charted_files(s);
  host.file_watch().watch(s.followed.paths);
}

void file_changed(AppState& s, Host& host, const std::string& path) {
  auto& followed = s.followed;
  // The chart went (another style or kind): its files are followed no more.
  if (followed.paths.empty()) host.file_watch().watch({});
  if (!listed(followed.paths, path)) return;
  if (!listed(followed.changed, path)) followed.changed.push_back(path);
  followed.last_change = host.timer_seconds();
  s.f1.files_timer.enabled = true;
}

void files_timer_Timer(AppState& s, Host& host) {
  auto& followed = s.followed;
  if (followed.paths.empty() || followed.changed.empty()) {
    followed.changed.clear();
    s.f1.files_timer.enabled = false;
    return;
  }
  if (s.handlers_running > 0) return;
  if (std::abs(host.timer_seconds() - followed.last_change) < follow_quiet_seconds) return;
  s.f1.files_timer.enabled = false;
  // A save during the redraw waits for it to end.
  ++s.handlers_running;
  attempt_quietly([&] { redraw(s, host); });
  --s.handlers_running;
}

}  // namespace zw
