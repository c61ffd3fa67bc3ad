#include "chart/chart.h"

#include "analysis/analysis.h"
#include "app/failure.h"

namespace zw {

void clearpic(AppState& s, Host&) {
  attempt_quietly([&] { s.f1.p1.draw().clear(s.f1.p1.back); });
  attempt_quietly([&] { s.f1.p3.draw().clear(s.f1.p3.back); });
}

void plot(AppState&, Host&, int) {}

void resize_(AppState& s, Host& host) {
  if (s.scan_busy) return;
  s.scan_busy = true;
  if (s.result_count > 0) attempt(host, [&] { plot(s, host, s.result_count); });
  s.scan_busy = false;
  host.set_busy(false);
}

void chk_plot(AppState& s, Host& host) {
  for (const auto& box : s.f1.Check1)
    if (box.value == 1) {
      attempt_quietly([&] { command2_Click(s, host); });
      return;
    }
}

void vs_Scroll(AppState&, Host&) {}

}  // namespace zw
