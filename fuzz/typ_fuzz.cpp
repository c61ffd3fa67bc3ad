// A TYP text file read into the TYP tables, then the chart of the example
// style drawn with a swatch for every row of each kind.
#include "analysis/analysis.h"
#include "app/check_handlers.h"
#include "app/main_window.h"
#include "chart/chart.h"
#include "fuzz_app.h"
#include "levels/categories.h"
#include "typ/typ_reader.h"

using namespace zw;

namespace {

// Rules whose type codes take every form the swatch lookup meets.
const char* const rules =
    "a=b [0x01 resolution 24]\n"
    "a=c [0x2 resolution 22]\n"
    "a=d [0x10f04 resolution 20]\n"
    "a=e [0x1e resolution 18-24 continue]\n"
    "a=f [0x2f06 resolution 16]\n"
    "a=g [0x4a level 1]\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzApp app;
  auto typ = app.write("app/typ.txt", fuzz::bytes(data, size));
  app.write("styles/st/options", "levels = 0:24, 1:22, 2:20, 3:18\n");
  for (int k = 0; k < 3; ++k) app.write(std::string("styles/st/") + kind_name(k), rules);
  select_style_dir(app.s, app.host, fuzz::FuzzApp::dir().at("styles/st"));
  loadtyp(app.s, app.host, typ);
  auto& f = app.s.f1;
  f.label2.value = 1;
  for (int kind = 0; kind < 3; ++kind) {
    for (auto& box : f.Check3) box.value = 0;
    f.Check3.at(static_cast<std::size_t>(kind)).value = 1;
    Check3_MouseUp(app.s, app.host, kind);
    f.Check1[0].value = 1;
    f.Check2.value = kind == 1;  // the sort exchanges the TYP entries
    command2_Click(app.s, app.host);
  }
  return 0;
}
