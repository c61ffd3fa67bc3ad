#pragma once
#include <string>
#include <vector>

#include "analysis/style_diff.h"
#include "model/state.h"
#include "platform/host.h"

// A style analysed whole, kind by kind, as the comparison of two styles and
// the check of a converted style need it.
namespace zw {

// Opens a style directory (its levels read); false when its options file is
// missing or a file could not be read, which would compare a wrong level table.
bool open_style(AppState& s, Host& host, const std::string& style_dir);

// Analyses every rule ("All") of each kind, following includes when inc is
// set, into rows. False when an analysis did not run or a file was not read.
bool analyse_kinds(AppState& s, Host& host, const std::vector<int>& kinds, bool inc,
                   StyleRules& rows);

// Whether a converted style draws what its source drew: "Levels kept for N
// rules; M rules drawn at other levels", from both styles analysed in states
// of their own over the window's surfaces (which the caller redraws). Their
// messages are not shown.
std::string conversion_check(const AppState& s, Host& host, const std::string& source_dir,
                             const std::string& copy_dir);

// A host that keeps every plain message for one summary; questions still go
// to the user, and everything else goes to the host it wraps.
class NoteKeepingHost : public Host {
 public:
  explicit NoteKeepingHost(Host& inner, bool ask = true) : inner_(inner), ask_(ask) {}
  Answer message(const std::string& text, Buttons buttons = Buttons::ok) override;
  void set_busy(bool busy) override { inner_.set_busy(busy); }
  void do_events() override { inner_.do_events(); }
  FileSystem& fs() override { return inner_.fs(); }
  std::string file_dialog(bool save, const std::string& initial_dir,
                          const std::string& default_name) override {
    return inner_.file_dialog(save, initial_dir, default_name);
  }
  std::string choose_folder(const std::string& title) override {
    return inner_.choose_folder(title);
  }
  bool shell_open(const std::string& target) override { return inner_.shell_open(target); }
  bool edit_text_file(const std::string& path, int line) override {
    return inner_.edit_text_file(path, line);
  }
  std::vector<std::string> screen_fonts() override { return inner_.screen_fonts(); }
  double timer_seconds() override { return inner_.timer_seconds(); }
  std::string today() override { return inner_.today(); }
  double twips_per_pixel() override { return inner_.twips_per_pixel(); }
  int sizing_border_pixels() override { return inner_.sizing_border_pixels(); }
  void show_dialog(Dialog which) override { inner_.show_dialog(which); }
  void close_main_window() override { inner_.close_main_window(); }

  std::vector<std::string> notes;

 private:
  Host& inner_;
  bool ask_;
};

}  // namespace zw
