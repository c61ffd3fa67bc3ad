// Drawing the chart of 100, 400 and 801 rows with "Show Text" ticked into Qt
// rasters at 15 twips per pixel, the rows coming from a real analysis.
#include <cstdio>
#include <filesystem>

#include "support.h"
#include "chart/chart.h"

namespace fs = std::filesystem;
using namespace zw;

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-chart";
  fs::remove_all(root);
  std::printf(
      "plot of a lines chart with \"Show Text\" on 1024-pixel-wide rasters (median of 9)\n");
  bool broken = false;
  for (int rows : {100, 400, 801}) {
    auto style = root / std::string("s").append(std::to_string(rows));
    bench::write_style(style, rows);
    bench::RasterSession run(root);
    run.s.f1.shtxt.value = 1;
    int got = run.analyse(style, 1);
    if (got != rows) {
      std::printf("  %4d rules gave %d rows: broken run\n", rows, got);
      broken = true;
      continue;
    }
    auto t = bench::time_runs(9, [&] { plot(run.s, run.host, got); });
    // What no drawing can save: filling the canvas with its background.
    auto c = bench::time_runs(9, [&] { run.p1.clear(colours::white); });
    std::printf(
        "  %4d rows: %7.2f ms (cpu %7.2f ms); clearing the %d x %d pixel canvas alone "
        "%5.2f ms (cpu %5.2f)\n",
        rows, t.wall, t.cpu, run.p1.qimage().width(), run.p1.qimage().height(), c.wall, c.cpu);
  }
  fs::remove_all(root);
  return broken ? 1 : 0;
}
