// zoomwright-cli diff of mkgmap's default style against its converted copy (all
// kinds, included files followed), timed as a whole process from spawn to
// exit; then the diff in the process on generated styles of 100 to 801 rows
// per kind against their converted copies, to show how it grows.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "cli/commands.h"
#include "support.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

// zoomwright-cli run in this process, its output thrown away.
int run_cli(std::vector<std::string> words) {
  std::ostringstream out, err;
  cli::Io io{out, err, ""};
  words.insert(words.begin(), "zoomwright-cli");
  return cli::run(words, io);
}

}  // namespace

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-diff";
  fs::remove_all(root);
  fs::create_directories(root / "styles");
  std::string sys = (root / "system").string();
  std::string styles = (root / "styles").string();

  if (!bench::unpack_default_style(root)) {
    std::printf(
        "cannot unpack the default style from %s (scripts/install-deps installs mkgmap and "
        "unzip)\n",
        bench::mkgmap_jar);
    return 1;
  }
  if (run_cli({"convert", styles + "/default", "levels", "--system-dir", sys}) != 0) {
    std::printf("the default style does not convert\n");
    return 1;
  }

  std::printf("zoomwright-cli diff default levels --inc, spawn to exit (median of 21)\n");
  std::vector<double> wall, cpu;
  for (int i = 0; i < 21; ++i) {
    auto run = bench::run_process({ZW_CLI_PATH, "diff", styles + "/default", styles + "/levels",
                                   "--inc", "--system-dir", sys},
                                  (root / "diff.out").string());
    if (run.status != 0 && run.status != 1) {
      std::printf("  diff failed (exit status %d)\n", run.status);
      return 1;
    }
    wall.push_back(run.wall);
    cpu.push_back(run.cpu);
  }
  auto version = bench::run_process({ZW_CLI_PATH, "--version"}, (root / "version.out").string());
  std::printf("  %7.2f ms (cpu %6.2f ms); zoomwright-cli --version alone %6.2f ms\n",
              bench::median_ms(wall), bench::median_ms(cpu), version.wall);

  std::printf(
      "diff in the process, generated style against its converted copy, all kinds (median of 5)\n");
  for (int rows : {100, 200, 400, 801}) {
    std::string name = "g";
    name += std::to_string(rows);
    bench::write_style(root / "styles" / name, rows);
    if (run_cli({"convert", styles + "/" + name, name + "levels", "--system-dir", sys}) != 0) {
      std::printf("  %d rows: does not convert\n", rows);
      return 1;
    }
    std::vector<std::string> words{"diff", styles + "/" + name, styles + "/" + name + "levels",
                                   "--system-dir", sys};
    auto t = bench::time_runs(5, [&] { run_cli(words); });
    std::printf("  %4d rows per kind: %7.2f ms (cpu %6.2f), %5.2f us per row\n", rows, t.wall,
                t.cpu, t.wall * 1000 / (3 * rows));
  }
  fs::remove_all(root);
  return 0;
}
