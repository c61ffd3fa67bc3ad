#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/control_table.h"
#include "platform/win32/gdi_surface.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

class KindAdapter;

// What a picture window needs of its control: the picture, its colour beyond
// the picture, and where its mouse goes.
struct PictureLink {
  GdiSurface* surface = nullptr;
  Colour back = colours::white;
  bool hand = false;
  PictureBox* box = nullptr;  // where a double-click writes its position
  // The picture's row at the window's top: a picture taller than the box it
  // sits in has a window over the part in view only.
  int view_top = 0;
  RECT placed{-1, -1, -1, -1};  // where the window was last put, pixels
  std::function<void(UserEvent)> report;
};

// The controls of one window, built from its table, mirrored from their models
// and reporting the user's acts. Each control kind has one adapter that makes
// its window, answers its notifications and mirrors its model. The main window
// and every dialog use one.
class ControlSet {
 public:
  // run: how the owner runs a handler (it brings the window up to date after it).
  ControlSet(std::vector<Control> table, double twips_per_pixel,
             std::function<void(const std::function<void()>&)> run);
  ~ControlSet();
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Creates every control as a child of parent (or of its container); the
  // form is parent itself, menu items go into its menu bar, timers run on it.
  void build(HWND parent);
  // Brings every control up to date from its model; what has not changed is
  // not touched.
  void sync();
  bool syncing() const { return syncing_; }

  // The window procedure's messages that concern the controls; true when handled.
  bool command(HWND from, int code);
  bool menu_command(int id);  // a menu item or one of the form's Ctrl keys
  bool scroll(HWND from, int code);
  bool timer(UINT_PTR id);
  void mouse_move();  // over the form itself
  // WM_CTLCOLOR*: the colours of a label, check box or text box.
  HBRUSH colours(HDC dc, HWND control);
  void stop_timers();

  // The window of a control by its name (nullptr when there is none).
  HWND window(const std::string& name) const;
  // The window of the first control of a kind (nullptr when there is none).
  HWND first(ControlKind kind) const;
  // The command id a menu item sends; -1 when it has none.
  int menu_id(const MenuItem& item) const;
  // The form's Ctrl keys as accelerators sending menu_command ids.
  std::vector<ACCEL> accelerators() const;
  // The scroll bar moved as the mouse wheel moves it (notches of 120).
  void wheel(const std::string& scroll_bar, int delta);
  double twips_per_pixel() const { return tpp_; }
  // How far (pixels) the window's own controls are scrolled: on a screen
  // smaller than the window's least size they scroll into reach.
  void set_origin(POINT origin);
  POINT origin() const { return origin_; }

  // For the adapters: one built control and what it shows now, so that a
  // sync touches only what changed.
  struct Built {
    Control c;
    std::size_t row = 0;
    const KindAdapter* adapter = nullptr;
    HWND hwnd = nullptr;
    bool child = false;  // a window of its own (not the form, a menu item or a timer)
    std::unique_ptr<GdiSurface> surface;
    PictureLink link;
    Bounds bounds{-1, -1, -1, -1};
    std::string text;
    bool text_known = false;
    std::vector<std::string> items;
    int value = -1, max = -1, large = -1;
    int visible = -1, enabled = -1, bold = -1;
    Colour fore, back;
    FontChoice font_shown{"", -1};
    bool font_bold = false;
    HFONT own_font = nullptr;
    bool timer_on = false;
    int interval = -1;
    int events_handled = 0;  // how many times the user's acts reached its handlers
  };
  // Every control as built, in the order of its table.
  const std::vector<std::unique_ptr<Built>>& built() const { return built_; }
  int px(double twips) const;
  // A user's act: the model written, then the event's handler, both run by
  // the owner. Nothing runs while the controls are being synced, nor for an
  // event the control has no handler for and no value to write.
  void user(Built& b, UserEvent event, UserInput& input, const std::function<void()>& write = {});
  void user(Built& b, UserEvent event, const std::function<void()>& write = {}) {
    UserInput input;
    user(b, event, input, write);
  }
  void subclass(Built& b);
  HFONT normal_font() const { return normal_font_; }
  HFONT bold_font() const { return bold_font_; }
  void apply_font(Built& b, bool bold);
  HMENU popup(HWND owner, const std::string& title);

 private:
  Built* find(HWND w) const;
  void move_scroll(Built& b, int value);
  static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HBRUSH brush(Colour c);

  std::vector<std::unique_ptr<Built>> built_;
  std::map<HWND, Built*> by_window_;
  std::map<std::uint32_t, HBRUSH> brushes_;
  std::map<std::string, HMENU> popups_;
  HFONT normal_font_ = nullptr, bold_font_ = nullptr;
  double tpp_;
  std::function<void(const std::function<void()>&)> run_;
  bool syncing_ = false;
  POINT origin_{0, 0};
};

// The picture window class; registered once per process.
void register_picture_class();
inline constexpr const wchar_t* picture_class = L"ZoomwrightPicture";

// Command ids: menu item n of the table sends first_menu_id + n; the form's
// Ctrl key with code k sends first_key_id + k.
inline constexpr int first_key_id = 40000;
inline constexpr int first_menu_id = 41000;
inline constexpr UINT_PTR first_timer_id = 1;

}  // namespace zw::win32
