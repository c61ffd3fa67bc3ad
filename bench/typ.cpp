// Reading generated TYP text files and drawing a swatch for each of 801 rows.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/paths.h"
#include "chart/swatches.h"
#include "platform/headless/headless_host.h"
#include "typ/typ_reader.h"
#include "support.h"

namespace fs = std::filesystem;
using namespace zw;

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-typ";
  fs::remove_all(root);
  fs::create_directories(root);
  std::printf("TYP text files: loadtyp, then one swatch per row for 801 rows (median of 5)\n");
  for (int per_kind : {500, 2000, 8000}) {
    auto file = root / ("typ" + std::to_string(per_kind) + ".txt");
    std::string text = bench::typ_file(per_kind);
    std::ofstream(file, std::ios::binary) << text;

    AppState s;
    HeadlessHost host;
    BlankSurface surfaces[4];
    s.f1.p4.attach(&surfaces[3]);
    std::string path = from_fs_path(file);
    double read = bench::time_ms(5, [&] { loadtyp(s, host, path); });

    // Rows whose types sit at the end of the tables: the longest lookups.
    for (int k = 0; k < 3; ++k)
      for (int i = 0; i < 801; ++i)
        s.results.rule_type[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] =
            bench::typ_code(per_kind - 1 - i % per_kind);
    double draw[3];
    for (int k = 0; k < 3; ++k) {
      s.selected_kind = static_cast<std::int16_t>(k);
      draw[k] = bench::time_ms(5, [&] {
        for (int i = 0; i < 801; ++i)
          k == 0 ? plotpolygon(s, host, i) : k == 1 ? plotline(s, host, i) : plotpoint(s, host, i);
      });
    }
    std::printf(
        "  %5d sections per kind (%5.1f MB): read %8.2f ms; 801 swatches: "
        "polygons %7.2f ms, lines %7.2f ms, points %7.2f ms\n",
        per_kind, text.size() / 1e6, read, draw[0], draw[1], draw[2]);
  }
  fs::remove_all(root);
  return 0;
}
