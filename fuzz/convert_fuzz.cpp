// One rule file of a resolution-based style (before the first NUL; the options
// file after it, or the example's levels when there is none) rewritten into
// a level-based copy, and the copy read back as a style.
#include "app/main_window.h"
#include "convert/convert_style.h"
#include "fuzz_app.h"
#include "levels/options_file.h"

using namespace zw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string rules, options;
  fuzz::split_at_nul(fuzz::bytes(data, size), rules, options);
  if (options.empty()) options = "levels = 0:24, 1:22, 2:20, 3:18\noverview-levels = 4:17, 5:16\n";
  fuzz::FuzzApp app;
  app.write("styles/src/options", options);
  auto path = app.write("styles/src/lines", rules);
  select_style_dir(app.s, app.host, fuzz::FuzzApp::dir().at("styles/src"));
  app.write("styles/new/.keep", "");
  res_2_lev(app.s, app.host, path, "new", false);
  res_2_lev(app.s, app.host, path, "new", true);
  get_levels(app.s, app.host, fuzz::FuzzApp::dir().at("styles/new") + "/");
  return 0;
}
