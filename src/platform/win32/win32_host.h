#pragma once
#include <string>
#include <vector>

#include "base/std_file_system.h"
#include "platform/host.h"
#include "platform/win32/file_watch.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

class MainWindowView;

// The host of the window program on Windows: message boxes, the busy cursor,
// the message pump, the common dialogs, the shell and the screen's fonts.
class Win32Host : public Host {
 public:
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
  HWND owner() const;

  StdFileSystem fs_;
  Win32FileWatch watch_;
  MainWindowView* window_ = nullptr;
  bool busy_ = false;
};

// Lets the messages waiting for this thread run (the accelerators of the main
// window included); a request to quit stays queued for the program's loop.
void pump_messages(MainWindowView* window);

}  // namespace zw::win32
