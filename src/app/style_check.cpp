#include "app/style_check.h"

#include "app/check_handlers.h"
#include "app/main_window.h"

namespace zw {

Answer NoteKeepingHost::message(const std::string& text, Buttons buttons) {
  if (buttons == Buttons::ok) {
    notes.push_back(text);
    return Answer::ok;
  }
  return ask_ ? inner_.message(text, buttons) : Answer::no;
}

bool open_style(AppState& s, Host& host, const std::string& style_dir) {
  select_style_dir(s, host, style_dir);
  return s.levels.options_found && host.unread_files == 0;
}

bool analyse_kinds(AppState& s, Host& host, const std::vector<int>& kinds, bool inc,
                   StyleRules& rows) {
  for (int kind : kinds) {
    auto& box = s.f1.Check3.at(static_cast<std::size_t>(kind));
    box.value = box.value == 1 ? 0 : 1;
    Check3_MouseUp(s, host, kind);
    s.f1.inc.value = inc ? 1 : 0;
    s.f1.Check1[0].value = 1;
    int runs = s.analysis_runs;
    command2_Click(s, host);
    if (s.analysis_runs == runs) return false;
    rows.at(static_cast<std::size_t>(kind)) = rule_rows(s, kind);
  }
  // A rule file or included file not read would show its rules as removed.
  return host.unread_files == 0;
}

std::string conversion_check(const AppState& s, Host& host, const std::string& source_dir,
                             const std::string& copy_dir) {
  StyleRules before, after;
  for (auto [dir, rows] : {std::pair{&source_dir, &before}, std::pair{&copy_dir, &after}}) {
    NoteKeepingHost quiet(host, false);
    AppState scratch;
    scratch.app_dir = s.app_dir;
    scratch.system_dir = s.system_dir;
    scratch.settings_problem = s.settings_problem;
    for (auto [from, to] :
         {std::pair{&s.f1.p1, &scratch.f1.p1}, std::pair{&s.f1.p2, &scratch.f1.p2},
          std::pair{&s.f1.p3, &scratch.f1.p3}, std::pair{&s.f1.p4, &scratch.f1.p4}})
      if (from->has_surface()) to->attach(&from->draw());
    start_batch(scratch, quiet);
    if (!open_style(scratch, quiet, *dir) || !analyse_kinds(scratch, quiet, {0, 1, 2}, true, *rows))
      return "The new style " + copy_dir + " cannot be analysed.";
  }
  return levels_kept_summary(total_counts(compare_styles(before, after)));
}

}  // namespace zw
