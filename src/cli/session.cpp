#include "cli/session.h"
#include "app/check_handlers.h"

#include "app/program_folders.h"
#include "levels/categories.h"

namespace zw::cli {

Session::Session(std::ostream& err, const std::string& program_dir) : host(&err) {
  // Until start() finds the settings folder from it.
  state.app_dir = program_dir;
  attach(blank_[0], blank_[1], blank_[2], blank_[3]);
}

void Session::attach(Surface& p1, Surface& p2, Surface& p3, Surface& p4) {
  surfaces_ = {&p1, &p2, &p3, &p4};
  attach_pictures(state, surfaces_);
}

void Session::start(const std::string& system_dir) {
  // The window's own category files, unless the caller names others.
  if (system_dir.empty()) find_program_folders(state, host.fs(), state.app_dir);
  start_headless(state, host, surfaces_, system_dir);
}

void Session::select_style(const std::string& style_dir) {
  select_style_dir(state, host, style_dir);
}

void Session::click_kind(int kind) {
  auto& box = state.f1.Check3.at(static_cast<std::size_t>(kind));
  box.value = box.value == 1 ? 0 : 1;
  Check3_MouseUp(state, host, kind);
}

}  // namespace zw::cli
