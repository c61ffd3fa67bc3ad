#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/controls.h"
#include "platform/win32/gdi_surface.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

enum class ControlKind {
  check_box,
  label,
  text_box,
  multi_line_text,
  combo_box,       // a list whose shown text need not be one of its items
  editable_combo,  // the same, with a text the user types
  list_box,
  picture,         // a picture box: its surface on screen
  flat_button,     // a picture box painted as a button, reporting the mouse
  scroll_bar,
  push_button,
};

// What the user did to a control; the control's model already holds the new
// value (tick, chosen item, typed text, scroll position) when its handler runs.
enum class UserEvent { click, double_click, right_down, mouse_move, enter, changed };

using ControlModel = std::variant<std::monostate, CheckBox*, Label*, TextBox*, ComboBox*,
                                  ListBox*, PictureBox*, ScrollBar*, Button*>;

// One line of a window's table of controls: the control, the model member it
// mirrors and the handler its user events run.
struct Control {
  ControlKind kind = ControlKind::label;
  std::string name{};  // the window's own name for it, such as "Check1(3)"
  ControlModel model{};
  std::function<void(UserEvent)> on{};  // empty: the model takes the value, nothing runs
  std::string container{};  // the picture box that holds it; "" for the window itself
  Bounds place{};           // twips; for controls whose model carries no position
  bool centred = false;     // a label's caption is centred
  bool bold_font = false;   // drawn in the bold face whatever the model says
  // A key typed into a text box; setting it to 0 drops the key.
  std::function<void(int&)> key_filter{};
  // The font the control shows its text in (name, points), when not the window's.
  std::function<std::pair<std::string, double>()> font{};
};

// The controls of one window, built from its table, mirrored from their models
// and reporting the user's acts. The main window and every dialog use one.
class ControlSet {
 public:
  // run: how the owner runs a handler (it brings the window up to date after it).
  ControlSet(std::vector<Control> table, double twips_per_pixel,
             std::function<void(const std::function<void()>&)> run);
  ~ControlSet();
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Creates every control as a child of parent (or of its container).
  void build(HWND parent);
  // Brings every control up to date from its model; what has not changed is
  // not touched.
  void sync();
  bool syncing() const { return syncing_; }

  // The window procedure's messages that concern the controls; true when handled.
  bool command(HWND from, int code);
  bool scroll(HWND from, int code);
  // WM_CTLCOLOR*: the colours of a label, check box or text box.
  HBRUSH colours(HDC dc, HWND control);

  // The window of a control by its name (nullptr when there is none).
  HWND window(const std::string& name) const;
  const Control* control(HWND window) const;
  // The window of the first control of a kind (nullptr when there is none).
  HWND first(ControlKind kind) const;
  // The right and bottom edges (pixels) of the controls placed on the window
  // itself, pictures left out: the window must not get smaller than these.
  POINT extent() const;
  // The scroll bar moved as the mouse wheel moves it (notches of 120).
  void wheel(const std::string& scroll_bar, int delta);
  double twips_per_pixel() const { return tpp_; }

 private:
  struct Built;
  int px(double twips) const;
  void create(Built& b, HWND parent);
  void sync_one(Built& b);
  void apply_font(Built& b);
  void move_scroll(Built& b, int value);
  void user(Built& b, UserEvent e);
  HBRUSH brush(Colour c);
  static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

  std::vector<std::unique_ptr<Built>> built_;
  std::map<HWND, Built*> by_window_;
  std::map<std::uint32_t, HBRUSH> brushes_;
  HFONT normal_font_ = nullptr, bold_font_ = nullptr, fixed_font_ = nullptr;
  double tpp_;
  std::function<void(const std::function<void()>&)> run_;
  bool syncing_ = false;
};

// The picture window class; registered once per process.
void register_picture_class();
inline constexpr const wchar_t* picture_class = L"ZoomwrightPicture";

}  // namespace zw::win32
