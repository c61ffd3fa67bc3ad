// What the benchmarks of the window program share: they start it in child
// processes, so that every start loads Qt and builds a fresh application, and a
// host whose messages never wait for a click.
#pragma once
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/qt/qt_host.h"

extern char** environ;

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

struct ChildRun {
  bool ok = false;  // exited with 0
  double wall = 0;  // spawn to exit
  double cpu = 0;   // the child's user and system time
  std::vector<double> numbers;  // what it printed
};

// Runs a program (looked up on the PATH) with its standard output going to
// out_path, and reads back the numbers it printed.
inline ChildRun run_child(std::vector<std::string> words, const std::string& out_path) {
  ChildRun run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  auto t0 = Clock::now();
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return run;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return run;
  run.wall = ms_between(t0, Clock::now());
  auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  run.cpu = ms(usage.ru_utime) + ms(usage.ru_stime);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return run;
  FILE* f = std::fopen(out_path.c_str(), "r");
  if (!f) return run;
  double v;
  while (std::fscanf(f, "%lf", &v) == 1) run.numbers.push_back(v);
  std::fclose(f);
  run.ok = true;
  return run;
}

}  // namespace zw::bench
