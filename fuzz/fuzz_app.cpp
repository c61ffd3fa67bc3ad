#include "fuzz_app.h"

#include "app/main_window.h"
#include "app/paths.h"

namespace zw::fuzz {

test::TempDir& FuzzApp::dir() {
  static test::TempDir d;
  return d;
}

FuzzApp::FuzzApp() {
  s.app_dir = dir().at("app");
  s.system_dir = paths::join(s.app_dir, "system");
  s.f1.p1.attach(&p1);
  s.f1.p2.attach(&p2);
  s.f1.p3.attach(&p3);
  s.f1.p4.attach(&p4);
  dir().write("app/.keep", "");
  start_batch(s, host);
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
