// The trace of the Monaco extract with mkgmap's default style against mkgmap's
// own compile of the same data with the same style, and how the trace's time
// and memory grow with the data (Monaco merged 2, 4 and 8 times, ids renumbered
// apart with osmium). The program fails when the trace is not 30 times faster
// than the compile, or takes more than 300 MB.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

const std::string monaco = std::string(ZW_SOURCE_DIR) + "/../shared/osm/monaco.osm.pbf";

// The median run of five (by wall time), peak memory the largest seen.
bench::ProcessRun median_run(const std::vector<std::string>& words, const std::string& out,
                             int runs) {
  std::vector<bench::ProcessRun> all;
  double rss = 0;
  for (int i = 0; i < runs; ++i) {
    all.push_back(bench::run_process(words, out));
    rss = std::max(rss, all.back().rss_mb);
  }
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.wall < b.wall; });
  auto m = all[all.size() / 2];
  m.rss_mb = rss;
  return m;
}

// Monaco n times over, each copy with ids of its own.
std::string merged(const fs::path& root, int n) {
  if (n == 1) return monaco;
  std::vector<std::string> merge = {"/usr/bin/osmium", "merge", "--overwrite", "-o"};
  std::string out = (root / ("monaco-x" + std::to_string(n) + ".osm.pbf")).string();
  merge.push_back(out);
  for (int i = 0; i < n; ++i) {
    std::string copy = (root / ("copy" + std::to_string(i) + ".osm.pbf")).string();
    std::string start = std::to_string(1 + static_cast<long long>(i) * 1'000'000'000);
    auto r = bench::run_process({"/usr/bin/osmium", "renumber", "--overwrite", "-s",
                                 start + "," + start + "," + start, "-o", copy, monaco},
                                (root / "osmium.out").string());
    if (r.status != 0) return "";
    merge.push_back(copy);
  }
  auto r = bench::run_process(merge, (root / "osmium.out").string());
  return r.status == 0 ? out : "";
}

}  // namespace

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-trace";
  fs::remove_all(root);
  fs::create_directories(root);
  if (!bench::unpack_default_style(root)) {
    std::printf("trace: cannot unpack mkgmap's default style\n");
    return 1;
  }
  std::string style = (root / "styles" / "default").string();
  std::string system = (root / "system").string();
  std::string out = (root / "trace.tsv").string();
  auto trace_of = [&](const std::string& data, int runs) {
    return median_run({ZW_CLI_PATH, "trace", style, data, "--system-dir", system}, out, runs);
  };

  std::printf("Trace of the Monaco extract (%.1f MB) with mkgmap's default style\n",
              static_cast<double>(fs::file_size(monaco)) / 1e6);
  auto mkgmap =
      bench::run_process({"/usr/bin/mkgmap", "--style-file=" + (root / "styles").string(),
                          "--style=default", "--output-dir=" + (root / "out").string(), monaco},
                         (root / "mkgmap.out").string());
  auto trace = trace_of(monaco, 5);
  if (mkgmap.status != 0 || trace.status != 0) {
    std::printf("trace: a run failed (mkgmap %d, trace %d)\n", mkgmap.status, trace.status);
    return 1;
  }
  std::printf("  mkgmap compile   %8.0f ms wall %8.0f ms cpu %6.0f MB peak\n", mkgmap.wall,
              mkgmap.cpu, mkgmap.rss_mb);
  std::printf("  zoomwright trace %8.0f ms wall %8.0f ms cpu %6.0f MB peak (median of 5)\n",
              trace.wall, trace.cpu, trace.rss_mb);
  std::printf(
      "  trace is %.0fx faster than the compile (goal 30x; %.0fx in cpu time), peak %.0f MB "
      "(limit 300 MB)\n",
      mkgmap.wall / trace.wall, mkgmap.cpu / trace.cpu, trace.rss_mb);
  bool goal_met = mkgmap.wall / trace.wall >= 30 && trace.rss_mb <= 300;

  std::printf("Growth with the data (Monaco merged n times, ids renumbered apart):\n");
  double base_ms = 0, base_mb = 0;
  for (int n : {1, 2, 4, 8}) {
    std::string data = merged(root, n);
    if (data.empty()) {
      std::printf("  x%d: osmium could not merge the copies\n", n);
      return 1;
    }
    auto r = trace_of(data, 3);
    if (n == 1) base_ms = r.wall, base_mb = r.rss_mb;
    std::printf("  x%d %6.1f MB: %7.0f ms (%.1fx), %5.0f MB peak (%.1fx)\n", n,
                static_cast<double>(fs::file_size(data)) / 1e6, r.wall, r.wall / base_ms, r.rss_mb,
                r.rss_mb / base_mb);
  }
  std::printf("Goal: 30x faster than the compile within 300 MB: %s\n", goal_met ? "met" : "MISSED");
  fs::remove_all(root);
  return goal_met ? 0 : 1;
}
