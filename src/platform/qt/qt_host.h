#pragma once
#include <memory>
#include <string>
#include <vector>

#include "base/std_file_system.h"
#include "platform/host.h"
#include "platform/qt/file_watch.h"

class QFileDialog;
class QWidget;

namespace zw::qt {

class MainWindowView;

// The host of the window program: Qt's message boxes, cursor, event pump,
// dialogs, shell and fonts.
class QtHost : public Host {
 public:
  QtHost() = default;
  // The main window: owner of the dialogs, brought up to date at every pump.
  void set_window(MainWindowView* window) { window_ = window; }

  Answer message(const std::string& text, Buttons buttons = Buttons::ok) override;
  void set_busy(bool busy) override;
  void do_events() override;
  FileSystem& fs() override { return fs_; }
  FileWatch& file_watch() override { return watch_; }
  std::string file_dialog(bool save, const std::string& initial_dir,
                          const std::string& default_name) override;
  std::string choose_folder(const std::string& title) override;
  bool shell_open(const std::string& target) override;
  bool edit_text_file(const std::string& path, int line) override;
  std::vector<std::string> screen_fonts() override;
  double timer_seconds() override;
  std::string today() override;
  double twips_per_pixel() override;
  int sizing_border_pixels() override;
  void show_dialog(Dialog which) override;
  void close_main_window() override;

 private:
  QWidget* owner() const;

  StdFileSystem fs_;
  QtFileWatch watch_;
  MainWindowView* window_ = nullptr;
  bool busy_ = false;
};

// The file dialog for opening or saving, as the file dialog of the host shows
// it: a preset name with "*" or "?" filters the listing, and Qt asks nothing
// about replacing a file.
std::unique_ptr<QFileDialog> make_file_dialog(QWidget* owner, bool save,
                                              const std::string& initial_dir,
                                              const std::string& default_name);

// The program's title, under which its message boxes appear.
inline constexpr const char* program_title = "Zoomwright";

}  // namespace zw::qt
