// zoomwright-cli chart as a user runs it, whole process: mkgmap's default style
// (lines, All, Inc, Sort, Show Text) and generated styles of 100, 400, 801
// and 10,000 rows with a TYP file, written as PNG and as BMP (a tall chart is
// drawn and written band by band; 10,000 rows as PNG must stay under 2 s and
// 250 MB). Each run is a child process;
// the figures are its wall time, its CPU time (user + system) and its peak
// resident memory. A refused output is timed too: it must cost no drawing.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support.h"

namespace fs = std::filesystem;

namespace {

using Run = zw::bench::ProcessRun;

// One child, its output kept beside the files it writes.
Run run(const std::vector<std::string>& args) {
  auto out = fs::temp_directory_path() / "zw-bench-export" / "child.out";
  return zw::bench::run_process(args, out.string());
}

// Medians of `times` runs; the output file is removed before each run.
Run median_run(const std::vector<std::string>& args, const fs::path& out, int times) {
  std::vector<double> wall, cpu, rss;
  Run last;
  for (int i = 0; i < times; ++i) {
    std::error_code ec;
    fs::remove(out, ec);
    last = run(args);
    wall.push_back(last.wall), cpu.push_back(last.cpu), rss.push_back(last.rss_mb);
  }
  Run median;
  median.wall = zw::bench::median_ms(wall), median.cpu = zw::bench::median_ms(cpu);
  median.rss_mb = zw::bench::median_ms(rss), median.status = last.status;
  return median;
}

void report(const char* what, const Run& r, const fs::path& out) {
  std::error_code ec;
  auto size = fs::file_size(out, ec);
  std::printf("  %-34s %7.1f ms (cpu %6.1f)  %6.1f MB peak  %9llu bytes%s\n", what, r.wall, r.cpu,
              r.rss_mb, ec ? 0ULL : static_cast<unsigned long long>(size),
              r.status == 0 ? "" : "  FAILED");
}

}  // namespace

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-export";
  fs::remove_all(root);
  fs::create_directories(root);
  // ZW_BENCH_CLI names another build's program, for figures before a change.
  const char* other = std::getenv("ZW_BENCH_CLI");
  std::string cli = other ? other : ZW_CLI_PATH, system = (root / "system").string();
  bool broken = false;
  constexpr int times = 7;
  std::printf("zoomwright-cli chart, whole process (median of %d)\n", times);

  // mkgmap's default style, unpacked from the mkgmap package as the tests do.
  if (zw::bench::unpack_default_style(root)) {
    auto style = (root / "styles" / "default").string();
    for (const char* ext : {"png", "bmp"}) {
      auto out = root / (std::string("default.") + ext);
      auto r = median_run({cli, "chart", style, "--kind", "lines", "--all", "--inc", "--sort",
                           "--show-text", "--out", out.string(), "--system-dir", system},
                          out, times);
      report((std::string("default style, lines, ") + ext).c_str(), r, out);
      broken = broken || r.status != 0;
    }
  } else {
    std::printf("  default style: %s or unzip missing (scripts/install-deps installs them)\n",
                zw::bench::mkgmap_jar);
    broken = true;
  }

  // Generated styles with a swatch on every row; cost grows with the rows.
  constexpr int entries = 300;
  auto typ = root / "typ.txt";
  std::ofstream(typ, std::ios::binary) << zw::bench::typ_file(entries);
  for (int rows : {100, 400, 801, 10000}) {
    auto style = root / std::string("s").append(std::to_string(rows));
    zw::bench::write_style(style, rows, entries);
    for (const char* ext : {"png", "bmp"}) {
      auto out = root / ("chart." + std::string(ext));
      auto r = median_run({cli, "chart", style.string(), "--kind", "lines", "--all", "--typ",
                           typ.string(), "--out", out.string(), "--system-dir", system},
                          out, rows > 1000 ? 3 : times);
      report(std::to_string(rows).append(" rows, lines with TYP, ").append(ext).c_str(), r, out);
      broken = broken || r.status != 0;
      if (rows == 10000 && std::string(ext) == "png" && (r.wall > 2000 || r.rss_mb > 250)) {
        std::printf("  10,000 rows as PNG: over the bound of 2 s and 250 MB\n");
        broken = true;
      }
    }
  }

  // Refused: the file exists and --yes is absent. Nothing is analysed or drawn.
  auto style = root / "s801";
  auto out = root / "exists.png";
  std::ofstream(out) << "old";
  auto r = run({cli, "chart", style.string(), "--kind", "lines", "--all", "--typ", typ.string(),
                "--out", out.string(), "--system-dir", system});
  std::printf("  %-34s %7.1f ms (cpu %6.1f)  %6.1f MB peak  exit %d\n",
              "801 rows, existing file refused", r.wall, r.cpu, r.rss_mb, r.status);
  broken = broken || r.status != 1;

  fs::remove_all(root);
  return broken ? 1 : 0;
}
