// Collecting the included files of a lines file of 10,000 to 100,000 distinct
// include statements (one in ten names a file; 51 are recorded), alone and
// within the analysis run.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/includes.h"
#include "app/check_handlers.h"
#include "support.h"

namespace fs = std::filesystem;
using namespace zw;

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-includes";
  fs::remove_all(root);
  std::printf(
      "include collection of a lines file of N distinct include statements (median of 5)\n");
  for (int n : {10000, 30000, 100000}) {
    auto dir = root / ('s' + std::to_string(n));
    fs::create_directories(dir / "inc");
    std::ofstream(dir / "options") << "levels = 0:24, 1:22, 2:20, 3:18\n";
    {
      std::ofstream lines(dir / "lines", std::ios::binary);
      for (int i = 0; i < n; ++i) lines << "include 'inc/f" << i << "';\n";
    }
    for (int i = 0; i < n; i += 10)
      std::ofstream(dir / "inc" / ('f' + std::to_string(i))) << "x [0x01 resolution 20]\n";

    bench::RasterSession session(root);
    auto& s = session.s;
    session.analyse(dir, 1);
    auto collect = bench::time_runs(5, [&] {
      s.includes.clear();
      s.scan_busy = false;
      chknodata(s, session.host, 1);
    });
    int recorded = s.includes.extra_count + 1;
    s.f1.inc.value = 1;
    auto analysis = bench::time_runs(5, [&] {
      s.includes.clear();
      command2_Click(s, session.host);
    });
    std::printf(
        "  %6d statements: collection %8.2f ms (cpu %8.2f ms), analysis with Inc %8.2f ms; %d "
        "files recorded\n",
        n, collect.wall, collect.cpu, analysis.wall, recorded);
  }
  fs::remove_all(root);
  return 0;
}
