// What the benchmarks of the window program share beside support.h: they start
// it in child processes, so that every start loads Qt and builds a fresh
// application, with a host whose messages never wait for a click.
#pragma once
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/qt/qt_host.h"

namespace zw::bench {

using Clock = std::chrono::steady_clock;

inline double ms_between(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

// The application object, made as the window program makes it.
struct WindowApplication {
  int argc = 1;
  char name[11] = "zoomwright";
  char* argv[2] = {name, nullptr};
  QApplication app{argc, argv};
  WindowApplication() { QApplication::setApplicationName(qt::program_title); }
};

// The window program's host, but a message is noted instead of waiting for a
// click, so that an unexpected one cannot hold the benchmark up.
class NonBlockingHost : public qt::QtHost {
 public:
  Answer message(const std::string& text, Buttons) override {
    messages.push_back(text);
    return Answer::ok;
  }
  std::vector<std::string> messages;
};

// The numbers a child process printed, read back from its output file.
inline std::vector<double> printed_numbers(const std::string& out_path) {
  std::vector<double> numbers;
  FILE* f = std::fopen(out_path.c_str(), "r");
  if (!f) return numbers;
  double v;
  while (std::fscanf(f, "%lf", &v) == 1) numbers.push_back(v);
  std::fclose(f);
  return numbers;
}

}  // namespace zw::bench
