// The analysis of a generated rule file of 50,000, 100,000 and 200,000 lines.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "app/check_handlers.h"
#include "base/std_file_system.h"
#include "app/main_window.h"
#include "levels/categories.h"
#include "platform/headless/headless_host.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

// A rule file like a big generated style: mostly rules of other categories,
// comments and action blocks, one "highway" rule in 250 lines.
std::string rule_file(int lines) {
  std::string t;
  const char* other[] = {"waterway=stream [0x18 resolution 23 continue]",
                         "# a comment line about the next rules",
                         "landuse=forest & name=* { set mkgmap:label:1='${name}' }",
                         "railway=rail & tunnel!=yes [0x14 road_class=0 resolution 19-24]",
                         "boundary=administrative & admin_level<5 [0x1e level 1]"};
  for (int i = 0; i < lines; ++i) {
    if (i % 250 == 0)
      t += "highway=primary & ref=* [0x02 road_class=3 resolution " + std::to_string(16 + i % 9) +
           "]\n";
    else
      t += std::string(other[i % 5]) + "\n";
  }
  return t;
}

double median_ms(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-analysis";
  fs::remove_all(root);
  std::printf("analysis of a generated lines file (category scan \"highway\", median of 7)\n");
  for (int lines : {50000, 100000, 200000}) {
    auto dir = root / ('s' + std::to_string(lines));
    fs::create_directories(dir);
    std::ofstream(dir / "options") << "levels = 0:24, 1:22, 2:20, 3:18\n";
    std::ofstream(dir / "lines", std::ios::binary) << rule_file(lines);

    AppState s;
    HeadlessHost host;
    BlankSurface surfaces[4];
    s.app_dir = from_fs_path(root);
    start_headless(s, host, {&surfaces[0], &surfaces[1], &surfaces[2], &surfaces[3]});
    select_style_dir(s, host, from_fs_path(dir));
    s.f1.Check3[1].value = 1;
    Check3_MouseUp(s, host, 1);
    s.f1.Check1[1].value = 1;  // Highway
    s.f1.Check2.value = 1;     // Sort

    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
      auto t0 = std::chrono::steady_clock::now();
      command2_Click(s, host);
      auto t1 = std::chrono::steady_clock::now();
      times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::printf("  %7d lines: %7.2f ms  (%d rows)\n", lines, median_ms(times), s.result_count);
  }
  fs::remove_all(root);
  return 0;
}
