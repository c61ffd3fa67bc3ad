// The window following its files: the largest sample style (by rule count) is
// charted in the Qt window, then its biggest rule file is saved again and
// again as editors save (written in place; written beside and renamed over
// it; or moved away to a backup and written anew, as vim does); timed from the
// end of the write until the window shows the new chart.
// Fails above 200 ms (the median of the saves).
#include <QApplication>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/check_handlers.h"
#include "app/main_window.h"
#include "base/std_file_system.h"
#include "model/result_table.h"
#include "model/state.h"
#include "platform/qt/main_window_view.h"
#include "support.h"
#include "window_runs.h"

namespace fs = std::filesystem;
using namespace zw;
using bench::Clock;
using bench::ms_between;

namespace {

constexpr double limit_ms = 200;

std::string read_file(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Rules of a file: lines with a type in brackets.
int rules_in(const fs::path& p) {
  std::istringstream in(read_file(p));
  int n = 0;
  for (std::string line; std::getline(in, line);)
    n += line.find('[') != std::string::npos && line.find('#') != 0 ? 1 : 0;
  return n;
}

int rules_of_style(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) n += rules_in(e.path());
  return n;
}

void write_in_place(const fs::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

void move_away_and_write(const fs::path& p, const std::string& text) {
  auto backup = p;
  backup += "~";
  fs::rename(p, backup);
  write_in_place(p, text);
}

void write_and_rename(const fs::path& p, const std::string& text) {
  auto temp = p;
  temp += ".swp";
  write_in_place(temp, text);
  fs::rename(temp, p);
}

bool pump_until(const std::function<bool()>& done, double ms) {
  auto t0 = Clock::now();
  while (!done() && ms_between(t0, Clock::now()) < ms)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  return done();
}

}  // namespace

int main() {
  const char* env = std::getenv("ZW_SAMPLES");
  fs::path samples = env ? fs::path(env) : fs::path(ZW_SOURCE_DIR) / ".." / "shared" / "samples";
  fs::path largest;
  int most = -1;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(samples / "styles", ec)) {
    if (!e.is_directory()) continue;
    int n = rules_of_style(e.path());
    if (n > most) most = n, largest = e.path();
  }
  if (largest.empty()) {
    std::printf("follow: no sample styles under %s\n", (samples / "styles").string().c_str());
    return 1;
  }
  // The kind with the biggest rule file is charted, and saved.
  int kind = 0;
  for (int k = 1; k < 3; ++k)
    if (fs::file_size(largest / kind_name(k)) > fs::file_size(largest / kind_name(kind))) kind = k;

  auto work = fs::temp_directory_path() / "zw-bench-follow";
  fs::remove_all(work);
  auto root = work / "styles";
  auto style = root / largest.filename();
  fs::create_directories(root);
  fs::create_directories(work / "program");
  fs::copy(largest, style, fs::copy_options::recursive);
  auto rule_file = style / kind_name(kind);
  const std::string original = read_file(rule_file);

  bench::WindowApplication application;
  AppState s;
  s.app_dir = from_fs_path(work / "program");
  s.command_line = from_fs_path(root);
  bench::NonBlockingHost host;
  qt::MainWindowView window(s, host, host.twips_per_pixel());
  host.set_window(&window);
  Form_Load(s, host);
  window.sync();
  window.show();
  if (!pump_until([&] { return !s.f1.Combo1.items.empty(); }, 10000)) return 2;

  // The style, the kind, All and Inc, as a user ticks them; then Check.
  s.f1.Combo2.text = from_fs_path(largest.filename());
  Combo2_Click(s, host);
  auto& box = s.f1.Check3[static_cast<std::size_t>(kind)];
  box.value = box.value == 1 ? 0 : 1;
  Check3_MouseUp(s, host, kind);
  s.f1.Check1[0].value = 1;
  s.f1.inc.value = 1;
  command2_Click(s, host);
  window.sync();
  int rows = s.result_count;
  if (rows == 0) {
    std::printf("follow: %s charts no rows\n", largest.filename().string().c_str());
    return 1;
  }

  std::vector<double> times;
  std::vector<double> by_way[3];  // in place, renamed over, moved away
  for (int save = 0; save < 18; ++save) {
    // Every other save adds a rule, so the chart really changes.
    std::string text = original;
    if (save % 2 == 0) text += "\nzw_bench=yes [0x01 resolution 20]\n";
    int runs = s.analysis_runs;
    int way = save / 2 % 3;
    if (way == 0)
      write_in_place(rule_file, text);
    else if (way == 1)
      write_and_rename(rule_file, text);
    else
      move_away_and_write(rule_file, text);
    auto t0 = Clock::now();
    bool redrawn = pump_until(
        [&] {
          return s.analysis_runs > runs && !s.f1.files_timer.enabled && s.handlers_running == 0;
        },
        5000);
    double ms = ms_between(t0, Clock::now());
    if (!redrawn) {
      std::printf("follow: save %d was not followed within 5 s\n", save + 1);
      return 1;
    }
    if (s.result_count != rows + (save % 2 == 0 ? 1 : 0)) {
      std::printf("follow: save %d drew %d rows, not %d\n", save + 1, s.result_count,
                  rows + (save % 2 == 0 ? 1 : 0));
      return 1;
    }
    times.push_back(ms);
    by_way[way].push_back(ms);
    // The next save comes once this one is long over, as a user's would.
    pump_until([] { return false; }, 100);
  }
  window.close();
  fs::remove_all(work);

  double median = bench::median_ms(times);
  double worst = *std::max_element(times.begin(), times.end());
  std::printf(
      "follow: %s (%d rules; %s, %d rows), save to redrawn chart: median %.1f ms, worst %.1f "
      "ms over %zu saves (limit %.0f ms); written in place %.1f ms, renamed over it %.1f ms, "
      "moved away and written anew %.1f ms\n",
      largest.filename().string().c_str(), most, kind_name(kind), rows, median, worst, times.size(),
      limit_ms, bench::median_ms(by_way[0]), bench::median_ms(by_way[1]),
      bench::median_ms(by_way[2]));
  for (const auto& m : host.messages) std::printf("  message: %s\n", m.c_str());
  return median <= limit_ms ? 0 : 1;
}
