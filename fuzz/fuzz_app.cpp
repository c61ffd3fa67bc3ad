#include "fuzz_app.h"

#include "app/main_window.h"

namespace zw::fuzz {

test::TempDir& FuzzApp::dir() {
  static test::TempDir d;
  return d;
}

FuzzApp::FuzzApp() {
  s.app_dir = dir().at("app");
  // The chart's panes record their drawing; only the swatch pane keeps pixels,
  // which the chart copies.
  p1.rasterise = p2.rasterise = p3.rasterise = false;
  dir().write("app/.keep", "");
  start_headless(s, host, {&p1, &p2, &p3, &p4});
}

std::string FuzzApp::write(const std::string& relative, const std::string& bytes) {
  dir().write(relative, bytes);
  return dir().at(relative);
}

void split_at_nul(const std::string& in, std::string& first, std::string& rest) {
  auto nul = in.find('\0');
  first = in.substr(0, nul);
  rest = nul == std::string::npos ? std::string() : in.substr(nul + 1);
}

}  // namespace zw::fuzz
