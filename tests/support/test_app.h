#pragma once
#include <map>
#include <string>
#include <vector>

#include "model/state.h"
#include "platform/headless/headless_host.h"
#include "support/recording_surface.h"

namespace zw {
using Strings = std::vector<std::string>;
}  // namespace zw

namespace zw::test {

#ifdef ZW_SOURCE_DIR
// The project's example style; tests that write into it copy it first.
inline std::string example_style() {
  return std::string(ZW_SOURCE_DIR) + "/examples/styles/example";
}
#endif

// A fresh temporary directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // The path of a file inside, given with "/" separators.
  std::string at(const std::string& relative) const;
  // Writes a file (bytes as given), creating its directories.
  void write(const std::string& relative, const std::string& content) const;
  std::string read(const std::string& relative) const;
  // Every file under a directory inside, by its path relative to it (with "/").
  std::map<std::string, std::string> tree(const std::string& relative) const;
  // Copies a folder, with everything in it, to relative.
  void copy(const std::string& from, const std::string& relative) const;

 private:
  std::string path_;
};

// The program's state and a scripted host over recording surfaces, started as
// the batch front end starts it, with its program directory in a temporary
// directory and styles written under <tmp>/styles.
struct TestApp {
  TestApp();

  // Writes a style directory under styles/ (files given by relative path).
  std::string style(const std::string& name, const std::map<std::string, std::string>& files);
  // Selects a style under styles/ as start-up selects a restored style.
  void select(const std::string& name);
  // A click on a kind box (the tick toggles, then the release handler runs).
  void click_kind(int kind);
  // Ticks the category box with this caption.
  void tick_category(const std::string& caption);
  // Runs the analysis command.
  void check();
  // The result rows of the current kind as "line from to continue type".
  std::vector<std::string> rows() const;
  // How many messages so far hold this text.
  int said(const std::string& part) const;

  TempDir dir;
  AppState s;
  HeadlessHost host;
  RecordingSurface p1, p2, p3, p4;
};

// The pixels of a 24-bit bitmap file, top row first; empty when it is none.
Image read_bmp(const std::string& bytes);

}  // namespace zw::test
