// Drawing the chart of 100, 400 and 801 rows with "TYP" ticked, a TYP file of
// 300 entries per kind, into Qt rasters at 15 twips per pixel, for each kind.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support.h"
#include "chart/chart.h"
#include "typ/typ_reader.h"

namespace fs = std::filesystem;
using namespace zw;

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-typ-chart";
  fs::remove_all(root);
  fs::create_directories(root);
  constexpr int entries = 300;
  auto typ = root / "typ.txt";
  std::ofstream(typ, std::ios::binary) << bench::typ_file(entries);

  std::printf(
      "plot with \"TYP\" ticked, %d TYP entries per kind, every row with a swatch "
      "(median of 5)\n",
      entries);
  const char* kinds[] = {"polygons", "lines", "points"};
  bool broken = false;
  for (int rows : {100, 400, 801}) {
    auto style = root / std::string("s").append(std::to_string(rows));
    bench::write_style(style, rows, entries);
    std::printf("  %4d rows:", rows);
    for (int kind : {0, 1, 2}) {
      bench::RasterSession run(root);
      loadtyp(run.s, run.host, from_fs_path(typ));
      run.s.f1.label2.value = 1;
      int got = run.analyse(style, kind);
      if (got != rows || !run.s.f1.Text3.text.empty()) {
        std::printf(" %s broken (%d rows, missing \"%s\")", kinds[kind], got,
                    run.s.f1.Text3.text.c_str());
        broken = true;
        continue;
      }
      auto t = bench::time_runs(5, [&] { plot(run.s, run.host, got); });
      std::printf("  %s %7.2f ms (cpu %6.2f)", kinds[kind], t.wall, t.cpu);
    }
    std::printf("\n");
  }
  fs::remove_all(root);
  return broken ? 1 : 0;
}
