// zoomwright-cli analyse --inc of a generated lines file of 50,000 to 200,000
// lines (CR LF; rules with resolutions, ranges and levels, comments, action
// blocks, blank lines; no include statement), timed as a whole process from
// spawn to exit, in the three scans: All (the table fills early), a category
// and a filter text, beside `grep -c resolution` of the same file in the same
// run, each analyse run followed by a grep run, so that other work on the
// machine weighs on both alike. Goal: --all of 200,000 lines within 3x of
// grep, whole process against whole process; the program fails when it is
// missed. With a folder as argument it only writes the 200,000-line style
// there, for a profiler.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

const char* const grep_path = "/usr/bin/grep";

std::string rule_lines(int lines) {
  const char* tags[] = {"highway=primary & ref=*",
                        "landuse=forest & leaf_type=broadleaved",
                        "waterway=stream & intermittent!=yes",
                        "railway=rail & tunnel!=yes",
                        "boundary=administrative & admin_level=4",
                        "amenity=restaurant & cuisine=*"};
  std::string t;
  t.reserve(static_cast<std::size_t>(lines) * 56);
  for (int i = 0; i < lines; ++i) {
    std::string tag = tags[i % 6];
    std::string type = "0x" + bench::hex2(1 + i % 0x3f);
    switch (i % 10) {
      case 0:
        t += "# " + tag + ": the rules below draw it from resolution 20";
        break;
      case 1:
        t += tag + " [" + type + " resolution " + std::to_string(16 + i % 9) + "]";
        break;
      case 2:
        t += tag + " [" + type + " level " + std::to_string(i % 4) + "]";
        break;
      case 3:
        t += tag + " { set mkgmap:label:1='${name}' } [" + type + " resolution 22 continue]";
        break;
      case 4:
        t += "";
        break;
      case 5:
        t += tag + "\t[" + type + " road_class=2 resolution " + std::to_string(18 + i % 7) + "-24]";
        break;
      case 6:
        t += tag + " & name=* { name '${name} (${ref})' }";
        break;
      case 7:
        t += tag + " [" + type + " level 3-1 continue] # overview";
        break;
      case 8:
        t += "  " + tag + " & ref=" + std::to_string(i) + " [" + type + " resolution 24]";
        break;
      case 9:
        t += tag + " [" + type + " level 2]";
        break;
    }
    t += "\r\n";
  }
  return t;
}

void write_style(const fs::path& dir, int lines) {
  fs::create_directories(dir);
  std::ofstream(dir / "options") << "levels = 0:24, 1:22, 2:20, 3:18\r\n";
  std::ofstream(dir / "lines", std::ios::binary) << rule_lines(lines);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    write_style(argv[1], 200000);
    return 0;
  }
  auto root = fs::temp_directory_path() / "zw-bench-big-rule-file";
  fs::remove_all(root);
  fs::create_directories(root);
  std::string sys = (root / "system").string();
  const int runs = 15;

  struct Scan {
    const char* name;
    std::vector<std::string> words;
  };
  const Scan scans[] = {{"--all", {"--all"}},
                        {"--category Highway", {"--category", "Highway"}},
                        {"--text primary", {"--text", "primary"}}};

  std::vector<double> start;
  for (int i = 0; i < runs; ++i)
    start.push_back(
        bench::run_process({ZW_CLI_PATH, "--version"}, (root / "version.out").string()).cpu);
  double start_cpu = bench::median_ms(start);
  std::printf(
      "zoomwright-cli analyse --kind lines --inc of a generated lines file, spawn to exit "
      "(median of %d; --version alone: cpu %.2f ms)\n",
      runs, start_cpu);
  constexpr double goal = 3;
  double goal_ratio = 0;
  for (const auto& scan : scans) {
    std::printf("  %s\n", scan.name);
    double first_per_line = 0;
    for (int lines : {50000, 100000, 200000}) {
      std::string name = "s";
      name += std::to_string(lines);
      auto dir = root / name;
      if (!fs::exists(dir)) write_style(dir, lines);
      std::vector<std::string> words{ZW_CLI_PATH, "analyse", dir.string(),   "--kind",
                                     "lines",     "--inc",   "--system-dir", sys};
      words.insert(words.end(), scan.words.begin(), scan.words.end());
      std::vector<double> wall, cpu, grep_wall, grep_cpu;
      for (int i = 0; i < runs; ++i) {
        auto run = bench::run_process(words, (root / "analyse.out").string());
        if (run.status != 0) {
          std::printf("  analyse failed (exit status %d)\n", run.status);
          return 1;
        }
        wall.push_back(run.wall);
        cpu.push_back(run.cpu);
        auto grep = bench::run_process({grep_path, "-c", "resolution", (dir / "lines").string()},
                                       (root / "grep.out").string());
        grep_wall.push_back(grep.wall);
        grep_cpu.push_back(grep.cpu);
      }
      double c = bench::median_ms(cpu);
      double per_line = (c - start_cpu) * 1e6 / lines;
      if (first_per_line == 0) first_per_line = per_line;
      double g = bench::median_ms(grep_wall), w = bench::median_ms(wall);
      std::printf(
          "    %6d lines (%5.2f MB): %7.2f ms (cpu %7.2f ms), %6.1f ns per line beyond start-up "
          "(x%.2f of 50,000); grep -c %6.2f ms (cpu %5.2f ms), x%.1f of grep\n",
          lines, static_cast<double>(fs::file_size(dir / "lines")) / 1e6, w, c, per_line,
          per_line / first_per_line, g, bench::median_ms(grep_cpu), w / g);
      if (scan.words.front() == std::string("--all") && lines == 200000) goal_ratio = w / g;
    }
  }
  std::printf("Goal: --all of 200,000 lines within x%.0f of grep: x%.1f, %s\n", goal, goal_ratio,
              goal_ratio <= goal ? "met" : "MISSED");
  fs::remove_all(root);
  return goal_ratio <= goal ? 0 : 1;
}
