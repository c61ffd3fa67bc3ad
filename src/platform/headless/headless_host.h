#pragma once
#include <deque>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "base/std_file_system.h"
#include "platform/host.h"
#include "platform/surface.h"

namespace zw {

// One record per line: backslash, TAB, CR, LF and NUL written as \\ \t \r \n \0.
std::string escape_field(const std::string& text);
// The same, appended to out.
void append_escaped(std::string& out, std::string_view text);
// The same, written at `to`, which has room for twice the text; returns the end.
char* escape_into(char* to, std::string_view text);

// A host without a window: messages are recorded (and printed as
// "message: TEXT" when a stream is given), questions are answered from a
// script, dialogs return scripted paths.
// Today's date on this machine, as the window program shows it (YYYY-MM-DD).
std::string local_date();

class HeadlessHost : public Host {
 public:
  explicit HeadlessHost(std::ostream* out = nullptr) : out_(out) {}

  Answer message(const std::string& text, Buttons buttons = Buttons::ok) override;
  void canvas_text(const std::string& text) override;
  void set_busy(bool busy) override { busy_ = busy; }
  void do_events() override { ++events_let_run; }
  FileSystem& fs() override { return fs_override ? *fs_override : fs_; }
  FileWatch& file_watch() override { return watch; }
  std::string file_dialog(bool save, const std::string& initial_dir,
                          const std::string& default_name) override;
  std::string choose_folder(const std::string& title) override;
  bool shell_open(const std::string& target) override;
  bool edit_text_file(const std::string& path, int line) override;
  std::vector<std::string> screen_fonts() override { return fonts; }
  double timer_seconds() override;
  std::string today() override { return date; }
  double twips_per_pixel() override { return twips_per_px; }
  int sizing_border_pixels() override { return border_px; }
  void show_dialog(Dialog which) override {
    dialogs_shown.push_back(which);
    if (on_dialog) on_dialog(which);
  }
  void close_main_window() override { ++close_requests; }

  bool busy() const { return busy_; }

  // What happened, for the caller to read.
  std::vector<std::string> messages;
  std::vector<std::string> canvas_texts;
  std::vector<std::string> dialog_titles;  // "Open File", "Save File", folder titles
  struct FileDialogCall {
    bool save = false;
    std::string initial_dir, default_name;
  };
  std::vector<FileDialogCall> file_dialogs;  // how each file dialog was opened
  std::vector<std::string> opened;           // shell_open and edit_text_file targets (path:line)
  int events_let_run = 0;
  std::vector<Dialog> dialogs_shown;
  int close_requests = 0;

  // The script: answers to questions and paths for dialogs, taken in order.
  // When the answers run out, Yes/No questions get default_answer (No, or
  // Cancel where there is no No).
  std::deque<Answer> answers;
  Answer default_answer = Answer::no;
  std::deque<std::string> dialog_paths;
  std::vector<std::string> fonts{"Arial", "Courier New", "Times New Roman"};
  std::string date = "2026-12-06";
  double twips_per_px = 15;
  int border_px = 0;
  double fixed_time = -1;  // >= 0: timer_seconds returns it
  bool shell_works = false;
  // Acts in a dialog while it is shown (a test or the CLI plays the user).
  std::function<void(Dialog)> on_dialog;
  // Another file system in place of the real one (a test's failing one).
  FileSystem* fs_override = nullptr;
  // The files followed; a test fires their changes.
  RecordingFileWatch watch;

 private:
  std::ostream* out_;
  StdFileSystem fs_;
  bool busy_ = false;
};

// A surface that draws nothing, for runs that make no picture: fixed metrics
// of 100 twips per character and 195 twips per line.
class BlankSurface : public Surface {
 public:
  void resize(int w, int h) override { width_ = w, height_ = h; }
  // Nothing is held, so a tall chart costs only the rows of its band.
  bool bands() const override { return true; }
  void set_band(int w, int, int h) override { resize(w, h); }
  void clear(Colour) override { x_ = y_ = 0; }
  void set_pixel_scale(bool pixels) override { pixels_ = pixels; }
  double scale_width() const override { return pixels_ ? width_ / 15.0 : width_; }
  double twips_per_pixel() const override { return 15; }
  void fill_rect(double, double, double, double, Colour) override {}
  void line(double, double, double, double, Colour) override {}
  void set_font(const std::string&, double) override {}
  void set_bold(bool bold) override { bold_ = bold; }
  bool bold() const override { return bold_; }
  void set_fore(Colour) override {}
  double text_width(const std::string& t) override { return 100.0 * t.size(); }
  double text_height(const std::string&) override { return 195; }
  void move_to(double x, double y) override { x_ = x, y_ = y; }
  double current_x() const override { return x_; }
  double current_y() const override { return y_; }
  void print(const std::string& t, bool new_line) override {
    if (new_line)
      x_ = 0, y_ += 195;
    else
      x_ += text_width(t);
  }
  Image image() const override { return {}; }
  void paint_image(const Image&, double, double, double, double) override {}

 private:
  int width_ = 0, height_ = 0;
  bool pixels_ = false, bold_ = false;
  double x_ = 0, y_ = 0;
};

}  // namespace zw
