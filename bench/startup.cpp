// Cold start of the window program on the offscreen platform with the example
// style root on the command line, until the first activation has drawn the chart.
//
// The benchmark runs itself as a child process for each start, so that every
// start loads the Qt libraries and builds a fresh application: the parent times
// the child from spawn to exit, the child times itself from before the
// application object to the first chart and quits there.
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/std_file_system.h"
#include "app/main_window.h"
#include "model/state.h"
#include "platform/qt/main_window_view.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/raster_text.h"
#include "support.h"
#include "window_runs.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

using bench::Clock;
using bench::ms_between;
using bench::NonBlockingHost;

// One start, as src/platform/qt/main.cpp starts the program. Prints
// "application form_load shown first_chart messages" in milliseconds. The
// first start of all then picks the example style and closes the window, as
// a new user would, so that later starts restore it.
int child(const std::string& app_dir, const std::string& style_root, bool first) {
  auto t0 = Clock::now();
  bench::WindowApplication application;
  auto t_app = Clock::now();

  AppState s;
  s.app_dir = app_dir;
  s.command_line = style_root;
  NonBlockingHost host;
  qt::MainWindowView window(s, host, host.twips_per_pixel());
  host.set_window(&window);
  Form_Load(s, host);
  window.sync();
  auto t_load = Clock::now();
  window.show();
  auto t_shown = Clock::now();

  // The first activation is queued by the show; this runs right after it.
  Clock::time_point t_chart{};
  QTimer::singleShot(0, &window, [&] {
    t_chart = Clock::now();
    QApplication::quit();
  });
  application.app.exec();
  // The activation sets the chart font and fills the font list: proof that it ran.
  if (t_chart == Clock::time_point{} || s.f1.Combo1.items.empty()) return 2;
  if (first) {
    s.f1.Combo2.text = "example";
    Combo2_Click(s, host);
    Form_QueryUnload(s, host);
  }
  std::printf("%.2f %.2f %.2f %.2f %zu\n", ms_between(t0, t_app), ms_between(t0, t_load),
              ms_between(t0, t_shown), ms_between(t0, t_chart), host.messages.size());
  for (const auto& m : host.messages) std::fprintf(stderr, "    message: %s\n", m.c_str());
  return 0;
}

struct Start {
  double cpu = 0;  // the child's user and system time
  double wall = 0, app = 0, load = 0, shown = 0, chart = 0;
  int messages = 0;
  bool ok = false;
};

Start run_child(const std::string& self, const std::string& app_dir, const std::string& root,
                bool first = false) {
  auto out = from_fs_path(fs::path(app_dir) / "child.out");
  auto run = bench::run_process({self, first ? "--first" : "--child", app_dir, root}, out);
  Start st;
  st.wall = run.wall;
  st.cpu = run.cpu;
  auto numbers = bench::printed_numbers(out);
  st.ok = run.status == 0 && numbers.size() == 5;
  if (!st.ok) return st;
  st.app = numbers[0], st.load = numbers[1], st.shown = numbers[2], st.chart = numbers[3];
  st.messages = static_cast<int>(numbers[4]);
  return st;
}

void report(const char* what, const std::vector<Start>& runs) {
  auto median = [&](double Start::*field) {
    std::vector<double> v;
    for (const auto& r : runs) v.push_back(r.*field);
    return bench::median_ms(v);
  };
  std::printf(
      "  %s: spawn to exit %7.2f ms (cpu %7.2f ms); in the process: application "
      "%6.2f, Form_Load done %6.2f, shown %6.2f, first chart %6.2f ms (messages %d)\n",
      what, median(&Start::wall), median(&Start::cpu), median(&Start::app), median(&Start::load),
      median(&Start::shown), median(&Start::chart), runs.empty() ? 0 : runs[0].messages);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--child") return child(argv[2], argv[3], false);
  if (argc == 4 && std::string(argv[1]) == "--first") return child(argv[2], argv[3], true);

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string self = fs::canonical("/proc/self/exe").string();
  std::string root = from_fs_path(fs::path(ZW_SOURCE_DIR) / "examples" / "styles");
  auto app_dir = fs::temp_directory_path() / "zw-bench-startup";
  fs::remove_all(app_dir);
  fs::create_directories(app_dir);
  std::string dir = from_fs_path(app_dir);

  std::printf(
      "cold start of the window (offscreen, style root examples/styles), "
      "times from before the application object (median of 7)\n");
  // The very first start finds no fonts.dat and no chosen style: it says so
  // (here without waiting) and writes the file. Every later start reads it and
  // opens the example style chosen then.
  Start first = run_child(self, dir, root, true);
  if (!first.ok) {
    std::printf("  first start failed\n");
    return 1;
  }
  report("first start, compiling fonts.dat", {first});
  if (!fs::exists(app_dir / "fonts.dat")) {
    std::printf("  no fonts.dat after the first start\n");
    return 1;
  }
  std::vector<Start> runs;
  for (int i = 0; i < 7; ++i) {
    Start st = run_child(self, dir, root);
    if (!st.ok) {
      std::printf("  start %d failed\n", i + 1);
      return 1;
    }
    runs.push_back(st);
  }
  report("normal start, fonts.dat present", runs);
  fs::remove_all(app_dir);
  return 0;
}
