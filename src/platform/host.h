#pragma once
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_watch.h"

namespace zw {

// no_yes: Yes and No, with No the default (Enter answers No).
enum class Buttons { ok, yes_no, yes_no_cancel, no_yes };
enum class Answer { ok, yes, no, cancel };
// The program's own dialogs, each shown modally.
enum class Dialog { font, about, convert, typ_check };

// Everything the logic asks of the system outside its own controls.
class Host {
 public:
  virtual ~Host() = default;

  // A message box under the program's title; returns the button pressed.
  virtual Answer message(const std::string& text, Buttons buttons = Buttons::ok) = 0;
  // Told of every text that the logic writes on the chart canvas.
  virtual void canvas_text(const std::string& text) { (void)text; }
  virtual void set_busy(bool busy) = 0;
  // Lets pending window events run (and brings the window up to date).
  virtual void do_events() = 0;

  virtual FileSystem& fs() = 0;
  // The files followed for changes; a host without a window follows none.
  virtual FileWatch& file_watch() { return no_watch_; }

  // File dialog: the chosen path, or "" when cancelled.
  virtual std::string file_dialog(bool save, const std::string& initial_dir,
                                  const std::string& default_name) = 0;
  // Folder chooser: the chosen path, or "" when cancelled.
  virtual std::string choose_folder(const std::string& title) = 0;
  // Asks the system shell to open a page or document; false when it cannot.
  virtual bool shell_open(const std::string& target) = 0;
  // Opens a text file in the system's editor, at line `line` (from 1) where
  // the editor can be told one (0: no line); false when it cannot.
  virtual bool edit_text_file(const std::string& path, int line) = 0;

  virtual std::vector<std::string> screen_fonts() = 0;
  // Seconds since midnight, with a fraction.
  virtual double timer_seconds() = 0;
  // The current date as the user reads it.
  virtual std::string today() = 0;
  // Horizontal twips per pixel of the screen, and the sizing-border width in pixels.
  virtual double twips_per_pixel() = 0;
  virtual int sizing_border_pixels() = 0;

  // Shows one of the program's dialogs modally and returns when it is closed; the
  // main window then runs its activation steps.
  virtual void show_dialog(Dialog which) = 0;
  // Closes the main window as its close box does (the settings are saved then).
  virtual void close_main_window() = 0;

  // Files found but not read (refused, too large, a failing read), each named
  // in a message; the batch front end ends with a failure after any.
  int unread_files = 0;

 private:
  NoFileWatch no_watch_;
};

}  // namespace zw
