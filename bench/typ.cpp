// Reading generated TYP text files and drawing a swatch for each of 801 rows.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/paths.h"
#include "chart/swatches.h"
#include "platform/headless/headless_host.h"
#include "typ/typ_reader.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

std::string hex2(int v) {
  const char* d = "0123456789abcdef";
  return {d[(v >> 4) & 15], d[v & 15]};
}

// Sections of the three kinds in turn, each with a 32 x 32 bitmap, as big
// TYP files are written.
std::string typ_file(int per_kind) {
  std::string t = "[_id]\r\nFID=1\r\n[end]\r\n";
  std::string digits(32, '0'), chars(32, '$');
  for (int i = 0; i < 16; ++i) digits[static_cast<std::size_t>(i) * 2] = '1', chars[static_cast<std::size_t>(i) * 2] = '%';
  for (int i = 0; i < per_kind; ++i) {
    std::string code = "0x1" + hex2(i >> 8) + hex2(i);
    for (const char* kind : {"_polygon", "_line", "_point"}) {
      bool point = kind[2] == 'o' && kind[3] == 'i';
      t += std::string("[") + kind + "]\r\nType=" + code + "\r\nString1=0x04,generated\r\n";
      t += std::string(point ? "DayXpm" : "Xpm") + "=\"32 32 2 1\"\r\n";
      t += point ? "\"$ c #102030\"\r\n\"% c #405060\"\r\n" : "\"0 c #102030\"\r\n\"1 c #405060\"\r\n";
      for (int y = 0; y < (kind[1] == 'l' ? 4 : 32); ++y) t += "\"" + (point ? chars : digits) + "\"\r\n";
      t += "[end]\r\n";
    }
  }
  return t;
}

double median_ms(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class F>
double time_ms(F&& f) {
  std::vector<double> times;
  for (int run = 0; run < 5; ++run) {
    auto t0 = std::chrono::steady_clock::now();
    f();
    auto t1 = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  return median_ms(times);
}

}  // namespace

int main() {
  auto root = fs::temp_directory_path() / "zw-bench-typ";
  fs::remove_all(root);
  fs::create_directories(root);
  std::printf("TYP text files: loadtyp, then one swatch per row for 801 rows (median of 5)\n");
  for (int per_kind : {500, 2000, 8000}) {
    auto file = root / ("typ" + std::to_string(per_kind) + ".txt");
    std::string text = typ_file(per_kind);
    std::ofstream(file, std::ios::binary) << text;

    AppState s;
    HeadlessHost host;
    BlankSurface surfaces[4];
    s.f1.p4.attach(&surfaces[3]);
    std::string path = from_fs_path(file);
    double read = time_ms([&] { loadtyp(s, host, path); });

    // Rows whose types sit at the end of the tables: the longest lookups.
    for (int k = 0; k < 3; ++k)
      for (int i = 0; i < 801; ++i)
        s.results.rule_type[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] =
            "1" + hex2((per_kind - 1 - i % per_kind) >> 8) + hex2(per_kind - 1 - i % per_kind);
    double draw[3];
    for (int k = 0; k < 3; ++k) {
      s.selected_kind = static_cast<std::int16_t>(k);
      draw[k] = time_ms([&] {
        for (int i = 0; i < 801; ++i)
          k == 0 ? plotpolygon(s, host, i) : k == 1 ? plotline(s, host, i) : plotpoint(s, host, i);
      });
    }
    std::printf("  %5d sections per kind (%5.1f MB): read %8.2f ms; 801 swatches: "
                "polygons %7.2f ms, lines %7.2f ms, points %7.2f ms\n",
                per_kind, text.size() / 1e6, read, draw[0], draw[1], draw[2]);
  }
  fs::remove_all(root);
  return 0;
}
