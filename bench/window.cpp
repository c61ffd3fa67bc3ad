// The window program as a user meets it: real mouse clicks on "Check" in the Qt
// window, timed from the click until the chart is painted, on mkgmap's default
// style (Lines, All, Inc, Sort, Show Text) and on a generated style of 801 rows;
// and cold starts that restore the default style, until the first click on
// "Check" has painted its chart.
//
// Each measurement runs in a child process, once on the offscreen platform and
// once on an X server (Xvfb), since painting costs differ between the two.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <algorithm>
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
#include "support.h"
#include "window_runs.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

using bench::Clock;
using bench::ms_between;

// A left click as the mouse gives it: press and release near the widget's left
// edge (a check box takes clicks on its box and caption only).
void click(QWidget* w) {
  if (!w) return;
  QPointF at(std::min(8.0, w->width() / 2.0), w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

// Ticks a check box by clicking it, unless it is ticked already.
void tick(qt::MainWindowView& window, const char* name) {
  auto* box = window.findChild<QCheckBox*>(name);
  if (box && !box->isChecked()) click(box);
}

void choose_style(qt::MainWindowView& window, const QString& name) {
  auto* list = window.findChild<QComboBox*>("Combo2");
  int at = list ? list->findText(name) : -1;
  if (at >= 0) emit list->activated(at);
}

// A click on "Check" until the window has painted what it drew.
bench::Timing click_check(qt::MainWindowView& window) {
  auto t0 = Clock::now();
  double c0 = bench::thread_cpu_ms();
  click(window.findChild<QWidget*>("command2"));
  QCoreApplication::processEvents();
  return {ms_between(t0, Clock::now()), bench::thread_cpu_ms() - c0};
}

// One process: "first" sets the program folder up as a user would (default
// style, Lines, All, Inc) and times clicks; "start" is a cold start that then
// clicks "Check" once. Prints the start's time to the chart and its rows, then for
// "first" the median wall and CPU times of the clicks and the rows, for each style.
int child(const std::string& app_dir, const std::string& root, bool first) {
  auto t0 = Clock::now();
  bench::WindowApplication application;

  AppState s;
  s.app_dir = app_dir;
  s.command_line = root;
  bench::NonBlockingHost host;
  qt::MainWindowView window(s, host, host.twips_per_pixel());
  host.set_window(&window);
  Form_Load(s, host);
  window.sync();
  window.show();
  // The first activation is queued by the show; it fills the font list.
  while (s.f1.Combo1.items.empty() && ms_between(t0, Clock::now()) < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  if (s.f1.Combo1.items.empty()) return 2;

  if (first) {
    choose_style(window, "default");
    tick(window, "Check3(1)");
    tick(window, "Check1(0)");
    tick(window, "inc");
  }
  double to_chart = 0;
  if (!first) {
    click_check(window);
    to_chart = ms_between(t0, Clock::now());
  }
  int rows = s.result_count;
  std::printf("%.2f %d", to_chart, rows);
  if (first) {
    tick(window, "Check2");
    tick(window, "shtxt");
    for (const char* style : {"default", "rows801"}) {
      choose_style(window, style);
      click_check(window);
      std::vector<double> wall, cpu;
      for (int run = 0; run < 9; ++run) {
        auto t = click_check(window);
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
      }
      std::printf(" %.2f %.2f %d", bench::median_ms(wall), bench::median_ms(cpu), s.result_count);
    }
    choose_style(window, "default");
    window.close();  // saves the settings the cold starts restore
  }
  std::printf("\n");
  for (const auto& m : host.messages) std::fprintf(stderr, "    message: %s\n", m.c_str());
  return rows > 0 ? 0 : 3;
}

// A child's run: the numbers it printed, or nothing when it failed.
std::vector<double> run_child(const std::vector<std::string>& prefix, const std::string& self,
                              const std::string& app_dir, const std::string& root, bool first,
                              double* wall = nullptr) {
  std::vector<std::string> words = prefix;
  for (auto w : {self, std::string(first ? "--first" : "--start"), app_dir, root})
    words.push_back(w);
  auto out = from_fs_path(fs::path(app_dir) / "child.out");
  auto run = bench::run_process(words, out);
  if (wall) *wall = run.wall;
  return run.status == 0 ? bench::printed_numbers(out) : std::vector<double>{};
}

bool measure(const char* platform, const std::vector<std::string>& prefix, const std::string& self,
             const fs::path& work, const std::string& root) {
  auto app_dir = work / "program";
  fs::remove_all(app_dir);
  fs::create_directories(app_dir);
  std::string dir = from_fs_path(app_dir);
  auto n = run_child(prefix, self, dir, root, true);
  if (n.size() != 8) {
    std::printf("  %s: the first start failed\n", platform);
    return false;
  }
  std::vector<double> starts, spawned;
  double rows = 0;
  for (int i = 0; i < 5; ++i) {
    double wall = 0;
    auto st = run_child(prefix, self, dir, root, false, &wall);
    if (st.size() != 2) {
      std::printf("  %s: start %d failed\n", platform, i + 1);
      return false;
    }
    starts.push_back(st[0]);
    spawned.push_back(wall);
    rows = st[1];
  }
  std::printf(
      "  %s: click on Check, default style (%3.0f rows) %7.2f ms (cpu %7.2f); %3.0f rows "
      "%7.2f ms (cpu %7.2f);\n    cold start to the first chart (%3.0f rows) %7.2f ms "
      "(spawn to exit %7.2f)\n",
      platform, n[4], n[2], n[3], n[7], n[5], n[6], rows, bench::median_ms(starts),
      bench::median_ms(spawned));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--first") return child(argv[2], argv[3], true);
  if (argc == 4 && std::string(argv[1]) == "--start") return child(argv[2], argv[3], false);

  std::string self = fs::canonical("/proc/self/exe").string();
  auto work = fs::temp_directory_path() / "zw-bench-window";
  fs::remove_all(work);
  auto styles = work / "styles";
  fs::create_directories(styles);
  if (!bench::unpack_default_style(work)) {
    std::printf("cannot unpack mkgmap's default style from %s\n", bench::mkgmap_jar);
    return 1;
  }
  bench::write_style(styles / "rows801", 801);
  std::string root = from_fs_path(styles);

  std::printf(
      "the window: clicks on Check (Lines, All, Inc, Sort, Show Text; median of 9) "
      "and cold starts (median of 5)\n");
  bool ok = measure("offscreen", {"/usr/bin/env", "QT_QPA_PLATFORM=offscreen"}, self, work, root);
  const char* xvfb_run = "/usr/bin/xvfb-run";
  if (fs::exists(xvfb_run))
    ok = measure("Xvfb     ",
                 {xvfb_run, "-a", "-s", "-screen 0 1280x1024x24", "env", "QT_QPA_PLATFORM=xcb"},
                 self, work, root) &&
         ok;
  else
    std::printf("  Xvfb: xvfb-run is not installed\n");
  fs::remove_all(work);
  return ok ? 0 : 1;
}
