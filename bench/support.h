// What the chart benchmarks share: timing, generated styles and TYP files, and a
// batch session whose picture boxes are Qt rasters at 15 twips per pixel.
#pragma once
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstddef>
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
#include "platform/qt/raster_app.h"
#include "platform/qt/raster_surface.h"

extern char** environ;

namespace zw::bench {

inline double median_ms(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Medians of the wall-clock time and of the CPU time of this thread. On a
// machine shared with other work the CPU time is the steadier figure.
struct Timing {
  double wall = 0, cpu = 0;
};

inline double thread_cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

template <class F>
Timing time_runs(int runs, F&& f) {
  std::vector<double> wall, cpu;
  for (int run = 0; run < runs; ++run) {
    auto t0 = std::chrono::steady_clock::now();
    double c0 = thread_cpu_ms();
    f();
    cpu.push_back(thread_cpu_ms() - c0);
    auto t1 = std::chrono::steady_clock::now();
    wall.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  return {median_ms(wall), median_ms(cpu)};
}

template <class F>
double time_ms(int runs, F&& f) {
  return time_runs(runs, f).wall;
}

// One run of another program, its standard output going to a file and its
// standard error to that file's name + ".err": the time from spawn to exit,
// the child's user and system time, its peak resident memory and its exit
// status (-1 when it did not start or did not exit). The files of a run before
// are removed before the clock starts: truncating megabytes of output, still
// being written back, is no part of the program's time.
struct ProcessRun {
  double wall = 0, cpu = 0, rss_mb = 0;
  int status = -1;
};

inline ProcessRun run_process(std::vector<std::string> words, const std::string& out_path) {
  ProcessRun run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  std::string err_path = out_path + ".err";
  std::remove(out_path.c_str());
  std::remove(err_path.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  auto t0 = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return run;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return run;
  run.wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  run.cpu = ms(usage.ru_utime) + ms(usage.ru_stime);
  run.rss_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

inline std::string hex2(int v) {
  const char* d = "0123456789abcdef";
  return {d[(v >> 4) & 15], d[v & 15]};
}

// The type code of generated TYP entry i: five hexadecimal digits, 1xxxx.
inline std::string typ_code(int i) {
  std::string code = "1";
  return code.append(hex2(i >> 8)).append(hex2(i));
}

// Sections of the three kinds in turn, each with a 32 x 32 bitmap (lines 32 x 4),
// as big TYP files are written.
inline std::string typ_file(int per_kind) {
  std::string t = "[_id]\r\nFID=1\r\n[end]\r\n";
  std::string digits(32, '0'), chars(32, '$');
  for (int i = 0; i < 16; ++i)
    digits[static_cast<std::size_t>(i) * 2] = '1', chars[static_cast<std::size_t>(i) * 2] = '%';
  for (int i = 0; i < per_kind; ++i) {
    std::string code = "0x" + typ_code(i);
    for (const char* kind : {"_polygon", "_line", "_point"}) {
      bool point = kind[2] == 'o' && kind[3] == 'i';
      t += std::string("[") + kind + "]\r\nType=" + code + "\r\nString1=0x04,generated\r\n";
      t += std::string(point ? "DayXpm" : "Xpm") + "=\"32 32 2 1\"\r\n";
      t += point ? "\"$ c #102030\"\r\n\"% c #405060\"\r\n"
                 : "\"0 c #102030\"\r\n\"1 c #405060\"\r\n";
      for (int y = 0; y < (kind[1] == 'l' ? 4 : 32); ++y)
        t += "\"" + (point ? chars : digits) + "\"\r\n";
      t += "[end]\r\n";
    }
  }
  return t;
}

// A rule file of `rules` rules, all of which the "All" category keeps: varied
// resolutions and ranges, every third one a continue rule, conditions of the
// length real styles have. With `typ_entries` > 0 the types cycle through the
// generated TYP entries, so every row has a swatch.
inline std::string rule_file(int rules, int typ_entries = 0) {
  const char* tags[] = {"highway=primary & ref=* & name~'.*(Straße|Road).*'",
                        "landuse=forest & (leaf_type=broadleaved | leaf_type=mixed)",
                        "amenity=restaurant & cuisine=* & opening_hours=*",
                        "waterway=stream & intermittent!=yes & tunnel!=culvert",
                        "boundary=administrative & admin_level<5 & maritime!=yes"};
  std::string t = "# generated rules\n";
  for (int i = 0; i < rules; ++i) {
    std::string type =
        typ_entries > 0 ? "0x" + typ_code(i % typ_entries) : "0x" + hex2(1 + i % 0x3f);
    int from = 16 + i % 9;
    std::string range = i % 4 == 0 ? std::to_string(from) + "-24" : std::to_string(from);
    t += std::string(tags[i % 5]) + " & ref=" + std::to_string(i) + " [" + type + " resolution " +
         range + (i % 3 == 0 ? " continue" : "") + "]\n";
  }
  return t;
}

// mkgmap's default style, unpacked from the mkgmap package as the tests do, into
// root/styles/default. False when mkgmap or unzip is missing.
constexpr const char* mkgmap_jar = "/usr/share/mkgmap/mkgmap.jar";
inline bool unpack_default_style(const std::filesystem::path& root) {
  std::string unzip = std::string("unzip -q -o ") + mkgmap_jar + " 'styles/default/*' -d '" +
                      from_fs_path(root) + "' >/dev/null 2>&1";
  return std::filesystem::exists(mkgmap_jar) && std::system(unzip.c_str()) == 0 &&
         std::filesystem::exists(root / "styles" / "default" / "lines");
}

// Writes a style directory with an options file and one rule file per kind.
inline void write_style(const std::filesystem::path& dir, int rules, int typ_entries = 0) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "options") << "levels = 0:24, 1:22, 2:20, 3:18\noverview-levels = 4:17\n";
  std::string text = rule_file(rules, typ_entries);
  for (const char* kind : {"lines", "polygons", "points"})
    std::ofstream(dir / kind, std::ios::binary) << text;
}

// A batch run whose p1..p4 are rasters, as the window and the CLI draw them.
struct RasterSession {
  AppState s;
  HeadlessHost host;
  qt::RasterSurface p1{15}, p2{15}, p3{15}, p4{15};

  RasterSession(const std::filesystem::path& app_dir) {
    qt::ensure_app();
    s.app_dir = from_fs_path(app_dir);
    start_headless(s, host, {&p1, &p2, &p3, &p4});
  }

  // Selects the style, ticks the kind (0 polygons, 1 lines, 2 points) and
  // "All", and runs the analysis, which charts the result once. Returns the
  // number of rows.
  int analyse(const std::filesystem::path& style, int kind) {
    select_style_dir(s, host, from_fs_path(style));
    auto k = static_cast<std::size_t>(kind);
    s.f1.Check3[k].value = 1;
    Check3_MouseUp(s, host, kind);
    s.f1.Check1[0].value = 1;
    command2_Click(s, host);
    return s.result_count;
  }
};

}  // namespace zw::bench
