// A whole analysis of a style whose rule file (before the first NUL) and one
// included file (after it) are the input, then the chart of its result. The
// first two bytes choose the kind, the boxes and the scale label.
#include "analysis/analysis.h"
#include "app/check_handlers.h"
#include "app/main_window.h"
#include "chart/chart.h"
#include "fuzz_app.h"
#include "levels/categories.h"

using namespace zw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t flags = data[0];
  const int res = data[1] % 26;  // 25: no scale label
  std::string rules, included;
  fuzz::split_at_nul(fuzz::bytes(data + 2, size - 2), rules, included);

  fuzz::FuzzApp app;
  const int kind = (flags & 3) == 3 ? 0 : flags & 3;
  app.write("styles/st/options",
            "levels = 0:24, 1:22, 2:20, 3:18\r\noverview-levels = 4:17, 5:16\r\n");
  for (int k = 0; k < 3; ++k)
    app.write(std::string("styles/st/") + kind_name(k), k == kind ? rules : "");
  app.write("styles/st/inc/common", included);
  select_style_dir(app.s, app.host, fuzz::FuzzApp::dir().at("styles/st"));

  auto& f = app.s.f1;
  f.Check3.at(static_cast<std::size_t>(kind)).value = 1;
  Check3_MouseUp(app.s, app.host, kind);
  f.inc.value = (flags >> 2) & 1;
  f.Check2.value = (flags >> 3) & 1;
  f.shtxt.value = (flags >> 6) & 1;
  f.ovw.value = (flags >> 7) & 1;
  if (flags & 16) {
    f.Check1[0].value = 1;
  } else {
    for (std::size_t i = 1; i < f.Check1.size(); ++i)
      if (f.Check1[i].visible && !f.Check1[i].caption.empty()) {
        f.Check1[i].value = 1;
        break;
      }
  }
  if (flags & 32) {
    f.Check4.value = 1;
    f.Text2.text = included.substr(0, 8);
  }
  command2_Click(app.s, app.host);
  if (res < 25) Label3_Click(app.s, app.host, res);
  resize_chart(app.s, app.host);
  return 0;
}
