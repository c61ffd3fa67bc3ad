#pragma once
#include <functional>
#include <string>

#include "model/state.h"
#include "platform/host.h"
#include "platform/win32/control_set.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

// The main window f1 on Win32: a top-level window with the controls and menus
// of its table. A control's event writes the model and calls the handler the
// other front ends call; then every control is brought up to date from the
// model.
class MainWindowView {
 public:
  MainWindowView(AppState& s, Host& host, double twips_per_pixel);
  ~MainWindowView();
  MainWindowView(const MainWindowView&) = delete;
  MainWindowView& operator=(const MainWindowView&) = delete;

  // Brings every control up to date from the model.
  void sync();
  // Shows the window; its first activation follows as the window's own event.
  void show(int how = SW_SHOWNORMAL);
  // The activation steps, then the controls.
  void activate();
  // Runs a handler (a failure inside it is ignored), then syncs.
  void run(const std::function<void()>& handler);

  HWND hwnd() const { return hwnd_; }
  AppState& state() { return s_; }
  double twips_per_pixel() const { return controls_.twips_per_pixel(); }
  // For the keyboard: the window's accelerators (Ctrl+R).
  bool translate_accelerator(MSG& msg);
  // For the keyboard: Tab, and Enter on a control that takes it (true when handled).
  bool dialog_message(MSG& msg);
  // The command Ctrl+R sends.
  static constexpr int ctrl_r_command = first_key_id + key_ctrl_r;
  // A control's window by its name, "Check1(3)" (for tests and dialogs).
  HWND control(const std::string& name) const { return controls_.window(name); }
  // The menu command id of a menu item, for the messages a menu choice sends.
  int menu_id(const MenuItem& item) const { return controls_.menu_id(item); }
  bool closed() const { return hwnd_ == nullptr; }
  const ControlSet& controls() const { return controls_; }
  bool busy_cursor() const { return busy_cursor_; }
  // The busy cursor over the window and its controls.
  void set_busy_cursor(bool busy);

 private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void sync_window_size();
  RECT work_area() const;
  void fit_scroll_bars();
  void scroll_window(int bar, int code);

  AppState& s_;
  Host& host_;
  ControlSet controls_;
  HWND hwnd_ = nullptr;
  HACCEL accelerators_ = nullptr;
  int applied_width_ = -1, applied_height_ = -1;
  bool activated_once_ = false;
  bool built_ = false;
  bool busy_cursor_ = false;
  bool fitting_ = false;
};

// The program's title, under which its message boxes appear.
inline constexpr const wchar_t* program_title = L"Zoomwright";

}  // namespace zw::win32
