// TYP text files written to hurt: huge line widths, a 10 MB point pixel row,
// 200,000 polygon pixel rows, a huge direct-colour header. Each case runs in a
// child process under a 4 GB address-space limit, so that its peak memory is
// its own and a case that runs out of memory is reported, not fatal.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/paths.h"
#include "chart/swatches.h"
#include "platform/headless/headless_host.h"
#include "platform/qt/raster_app.h"
#include "platform/qt/raster_surface.h"
#include "support.h"
#include "typ/typ_reader.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

std::string line_section(int i, int width) {
  return "[_line]\r\nType=0x" + bench::typ_code(i) + "\r\nLineWidth=" + std::to_string(width) +
         "\r\nBorderWidth=" + std::to_string(width) +
         "\r\n\"1 c #ff0000\"\r\n\"2 c #0000ff\"\r\n[end]\r\n";
}

std::string polygon_rows(int rows) {
  std::string t = "[_polygon]\r\nType=0x" + bench::typ_code(0) +
                  "\r\nXpm=\"32 32 2 1\"\r\n"
                  "\"0 c #102030\"\r\n\"1 c #405060\"\r\n";
  for (int y = 0; y < rows; ++y) t += "\"01010101010101010101010101010101\"\r\n";
  return t + "[end]\r\n";
}

std::string point_row(std::size_t chars) {
  return "[_point]\r\nType=0x" + bench::typ_code(0) +
         "\r\nDayXpm=\"32 32 2 1\"\r\n"
         "\"$ c #102030\"\r\n\"% c #405060\"\r\n\"" +
         std::string(chars, '%') + "\"\r\n[end]\r\n";
}

std::string direct_point(std::size_t header) {
  return "[_point]\r\nType=0x" + bench::typ_code(0) + "\r\nxpm=\"1000000 1000000 " +
         std::string(header, '7') + "\"\r\n\"#ff0000\"\r\n[end]\r\n";
}

struct Case {
  const char* what;
  std::string text;
  int kind;  // the kind whose swatch is drawn for 801 rows; -1 reads only
};

// Reads the file and draws 801 swatches of its first entry into a raster at
// 15 twips per pixel; prints the times. Runs in the child.
void run(const Case& c, const fs::path& file) {
  AppState s;
  HeadlessHost host;
  qt::ensure_app();
  qt::RasterSurface p4(15);
  s.f1.p4.attach(&p4);
  std::string path = from_fs_path(file);
  double read = bench::time_ms(1, [&] { loadtyp(s, host, path); });
  double draw = 0;
  if (c.kind >= 0) {
    s.selected_kind = static_cast<std::int16_t>(c.kind);
    for (int i = 0; i < 801; ++i)
      s.results.rule_type[static_cast<std::size_t>(c.kind)][static_cast<std::size_t>(i)] =
          bench::typ_code(0);
    draw = bench::time_ms(1, [&] {
      for (int i = 0; i < 801; ++i)
        c.kind == 0   ? plotpolygon(s, host, i)
        : c.kind == 1 ? plotline(s, host, i)
                      : plotpoint(s, host, i);
    });
  }
  std::printf("read %9.1f ms, 801 swatches %9.1f ms", read, draw);
  std::fflush(stdout);
}

}  // namespace

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-typ-hostile";
  fs::remove_all(root);
  fs::create_directories(root);
  std::string widths;
  for (int i = 0; i < 2000; ++i) widths += line_section(i, 32767);
  const Case cases[] = {
      {"2,000 line sections, widths 32767", widths, -1},
      {"one line section, widths 32767", line_section(0, 32767), 1},
      {"a point pixel row of 10 MB", point_row(10'000'000), 2},
      {"200,000 polygon pixel rows", polygon_rows(200'000), 0},
      {"a direct-colour header of 10 MB", direct_point(10'000'000), 2},
  };
  std::printf("hostile TYP text files: loadtyp, then 801 swatches of one entry (4 GB limit)\n");
  bool failed = false;
  int n = 0;
  for (const auto& c : cases) {
    auto file = root / ("case" + std::to_string(n++) + ".txt");
    std::ofstream(file, std::ios::binary) << c.text;
    std::printf("  %-36s %9.3f MB: ", c.what, static_cast<double>(c.text.size()) / 1e6);
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
      rlimit limit{4ULL << 30, 4ULL << 30};
      setrlimit(RLIMIT_AS, &limit);
      run(c, file);
      _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::printf("%s peak %7.1f MB\n", ok ? "," : " FAILED (out of memory?),",
                static_cast<double>(usage.ru_maxrss) / 1024);
    failed = failed || !ok;
  }
  fs::remove_all(root);
  return failed ? 1 : 0;
}
