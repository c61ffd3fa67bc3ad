#include "cli/session.h"

#include "app/main_window.h"
#include "app/paths.h"
#include "app/text.h"
#include "levels/categories.h"

namespace zw::cli {

Session::Session(std::ostream& err, const std::string& app_dir) : host(&err) {
  state.app_dir = app_dir;
  attach(blank_[0], blank_[1], blank_[2], blank_[3]);
}

void Session::attach(Surface& p1, Surface& p2, Surface& p3, Surface& p4) {
  state.f1.p1.attach(&p1);
  state.f1.p2.attach(&p2);
  state.f1.p3.attach(&p3);
  state.f1.p4.attach(&p4);
}

void Session::start(const std::string& system_dir) {
  auto& s = state;
  s.system_dir = system_dir.empty() ? paths::join(s.app_dir, "system") : paths::to_host(system_dir);
  make_system_dir(s, host);
  savefiles(s, host, false);
  set_constants(s);
  reset_window_state(s);
  lay_out_category_grid(s);
  create_scale_labels(s);
  loadoptions(s, host);
  place_chart_panes(s);
}

void Session::select_style(const std::string& style_dir) {
  auto dir = paths::to_host(style_dir);
  while (dir.size() > 1 && dir.back() == paths::separator) dir.pop_back();
  auto root = paths::part(dir, 0);
  if (root.empty()) root = std::string(".") + paths::separator;
  if (root.size() > 1 && root.back() == paths::separator) root.pop_back();
  state.style_root = root;
  state.style_name = paths::part(dir, 1);
  state.includes.clear();
  get_styles(state, host);
}

}  // namespace zw::cli
