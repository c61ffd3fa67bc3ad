// The walk through the real window, on the Win32 window and its real host: the
// user's hand is the messages that clicks and keys send to the controls; the
// message boxes and dialogs that come up are answered from the walk's script.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "app/main_window.h"
#include "base/std_file_system.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/gdi_surface.h"
#include "platform/win32/main_window_view.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_host.h"
#include "support/test_app.h"
#include "walk/window_walk.h"
#include "win32/modal_driver.h"

#include <commctrl.h>

namespace zw {
namespace {

namespace fs = std::filesystem;
using test::ModalDriver;
using test::text_of;

using WalkHost = walk::HostWithoutDesktop<win32::Win32Host>;

void send_mouse(HWND w, UINT down, UINT up, WPARAM held, int x, int y) {
  SendMessageW(w, down, held, MAKELPARAM(x, y));
  SendMessageW(w, up, 0, MAKELPARAM(x, y));
}

// A click as the control hears it: buttons and check boxes are clicked,
// pictures, labels and text boxes hear the mouse itself.
void click_control(HWND w, ControlKind kind, bool posted) {
  if (kind == ControlKind::check_box || kind == ControlKind::push_button) {
    if (posted)
      PostMessageW(w, BM_CLICK, 0, 0);
    else
      SendMessageW(w, BM_CLICK, 0, 0);
  } else if (posted) {
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  } else {
    send_mouse(w, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, 3, 3);
  }
}

void choose_item(HWND w, const std::string& item) {
  LRESULT at = SendMessageW(w, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(win32::shown(item).c_str()));
  ASSERT_GE(at, 0) << item << " is not in the list";
  SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
  SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(w));
}

// The kind of a control by its name, in a set of built controls.
ControlKind kind_of(const win32::ControlSet& set, const std::string& name) {
  for (const auto& b : set.built())
    if (b->c.name == name) return b->c.kind;
  ADD_FAILURE() << "no control " << name;
  return ControlKind::label;
}

// Inside a dialog's own loop: what changes a field is sent, what the dialog
// does on a click is posted, so the loop takes it after the act.
class Win32DialogHand : public walk::DialogHand {
 public:
  void set_text(const std::string& name, const std::string& text) override {
    HWND w = control(name);
    if (kind(name) == ControlKind::editable_combo) {
      SetWindowTextW(w, win32::shown(text).c_str());
      SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CBN_EDITCHANGE),
                   reinterpret_cast<LPARAM>(w));
      return;
    }
    SetWindowTextW(w, L"");
    for (wchar_t c : win32::shown(text)) SendMessageW(w, WM_CHAR, c, 0);
  }
  void choose(const std::string& list, const std::string& item) override {
    choose_item(control(list), item);
  }
  void click(const std::string& name) override { click_control(control(name), kind(name), true); }
  void hover(const std::string& name) override {
    SendMessageW(control(name), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  }
  void double_click_line(const std::string& list, int line) override {
    HWND w = control(list);
    SendMessageW(w, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    PostMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(w));
  }
  std::string text(const std::string& name) override { return text_of(control(name)); }
  std::vector<std::string> lines(const std::string& list) override {
    HWND w = control(list);
    std::vector<std::string> all;
    LRESULT n = SendMessageW(w, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      std::wstring line(static_cast<std::size_t>(SendMessageW(w, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      LRESULT got = SendMessageW(w, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
      line.resize(static_cast<std::size_t>(got > 0 ? got : 0));
      all.push_back(win32::utf8(line));
    }
    return all;
  }

 private:
  static HWND control(const std::string& name) {
    HWND w = win32::open_dialog_control(name);
    if (!w) ADD_FAILURE() << "no control " << name << " in the dialog";
    return w;
  }
  // The program's dialogs name their controls by kind: an editable combo is
  // the only one a text is set into without typing.
  static ControlKind kind(const std::string& name) {
    wchar_t cls[32] = {};
    GetClassNameW(control(name), cls, 32);
    std::wstring c(cls);
    if (c == L"ComboBox") return ControlKind::editable_combo;
    if (c == L"Button") return ControlKind::push_button;
    return ControlKind::label;
  }
};

class Win32Driver : public walk::WindowDriver {
 public:
  ~Win32Driver() override { end(); }

  void start(const std::string& app_dir, const std::string& command_line,
             const std::function<void(AppState&)>& folders) override {
    end();
    s_ = std::make_unique<AppState>();
    s_->app_dir = app_dir;
    if (folders) folders(*s_);
    s_->command_line = command_line;
    view_ = std::make_unique<win32::MainWindowView>(*s_, host_, host_.twips_per_pixel());
    host_.set_window(view_.get());
    Form_Load(*s_, host_);
    view_->sync();
    view_->show();
    test::pump_for(300);  // the first activation
  }
  void close() override { SendMessageW(view_->hwnd(), WM_CLOSE, 0, 0); }
  bool shown() override { return view_ && !view_->closed() && IsWindowVisible(view_->hwnd()); }
  AppState& state() override { return *s_; }
  FileSystem& fs() override { return host_.fs(); }
  const std::vector<std::string>& opened() override { return host_.opened; }
  std::string native(const std::string& path) override { return test::windows_path(path); }

  void click(const std::string& name) override {
    click_control(w(name), kind_of(view_->controls(), name), false);
  }
  void right_click(const std::string& name) override {
    send_mouse(w(name), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON, 2, 2);
  }
  void double_click(const std::string& name, int x, int y) override {
    send_mouse(w(name), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON, x, y);
    send_mouse(w(name), WM_LBUTTONDBLCLK, WM_LBUTTONUP, MK_LBUTTON, x, y);
  }
  void hover(const std::string& name) override {
    if (name == "f1")
      SendMessageW(view_->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(600, 10));
    else
      SendMessageW(w(name), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  }
  void choose(const std::string& list, const std::string& item) override {
    choose_item(w(list), item);
  }
  void type(const std::string& name, const std::string& text) override {
    SetWindowTextW(w(name), L"");
    for (wchar_t c : win32::shown(text)) SendMessageW(w(name), WM_CHAR, c, 0);
  }
  void press_enter(const std::string& name) override {
    SendMessageW(w(name), WM_CHAR, VK_RETURN, 0);
  }
  void menu(const MenuItem& item) override {
    int id = view_->menu_id(item);
    ASSERT_GE(id, 0) << "no menu item " << item.caption;
    SendMessageW(view_->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  }
  void ctrl_r() override {
    SendMessageW(view_->hwnd(), WM_COMMAND, MAKEWPARAM(win32::MainWindowView::ctrl_r_command, 1),
                 0);
  }
  void wheel_notch_down(const std::string& name) override {
    POINT at{5, 5};
    ClientToScreen(w(name), &at);
    SendMessageW(w(name), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(at.x, at.y));
  }
  void scroll_line_down() override { scroll(SB_LINEDOWN); }
  void scroll_to_top() override { scroll(SB_TOP); }
  void resize(int width, int height) override {
    SetWindowPos(view_->hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    test::pump_for(400);  // the layout timer
  }

  std::string text(const std::string& name) override {
    return text_of(name == "f1" ? view_->hwnd() : w(name));
  }
  bool ticked(const std::string& name) override {
    return SendMessageW(w(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  bool enabled(const std::string& name) override { return IsWindowEnabled(w(name)); }
  int items(const std::string& list) override {
    return static_cast<int>(SendMessageW(w(list), CB_GETCOUNT, 0, 0));
  }
  bool inside_window(const std::string& name) override {
    RECT client, r;
    GetClientRect(view_->hwnd(), &client);
    GetWindowRect(w(name), &r);
    MapWindowPoints(nullptr, view_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return IsWindowVisible(w(name)) && r.left >= 0 && r.top >= 0 && r.right <= client.right &&
           r.bottom <= client.bottom;
  }
  int width(const std::string& name) override {
    RECT r;
    if (name == "f1") {
      GetClientRect(view_->hwnd(), &r);
    } else {
      GetWindowRect(w(name), &r);
    }
    return r.right - r.left;
  }
  Image canvas() override { return s_->f1.p1.draw().image(); }
  std::string chart_font() override {
    auto* surface = dynamic_cast<win32::GdiSurface*>(&s_->f1.p1.draw());
    if (!surface) return "";
    return win32::utf8(surface->font_name()) + " " + std::to_string(surface->font_pixels());
  }
  bool busy_cursor() override { return view_->busy_cursor(); }
  std::vector<std::string> tab_stops() override {
    std::vector<std::string> order;
    for (const auto& b : view_->controls().built()) {
      HWND w = b->hwnd;
      if (w && b->child && b->c.container.empty() && IsWindowVisible(w) && IsWindowEnabled(w) &&
          (GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP))
        order.push_back(b->c.name);
    }
    return order;
  }
  std::vector<std::string> tab_round(const std::string& first, std::size_t presses) override {
    auto stops = tab_stops();
    auto focused = [&] {
      // A drop-down list's focus is on its edit box.
      for (const auto& name : stops)
        if (HWND w = view_->control(name); w == GetFocus() || IsChild(w, GetFocus())) return name;
      return std::string("?");
    };
    SetFocus(w(first));
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < presses; ++i) {
      visited.push_back(focused());
      press_key(VK_TAB);
    }
    return visited;
  }
  void focus_and_press_enter(const std::string& name) override {
    SetFocus(w(name));
    press_key(VK_RETURN);
  }
  bool read_only(const std::string& name) override {
    return GetWindowLongPtrW(w(name), GWL_STYLE) & ES_READONLY;
  }
  bool bold(const std::string& name) override {
    LOGFONTW font{};
    auto shown = reinterpret_cast<HFONT>(SendMessageW(w(name), WM_GETFONT, 0, 0));
    return shown && GetObjectW(shown, sizeof(font), &font) && font.lfWeight >= FW_BOLD;
  }
  bool caption_fits(const std::string& name) override {
    HWND label = w(name);
    HDC dc = GetDC(label);
    HGDIOBJ was = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE extent{};
    auto caption = win32::shown(text_of(label));
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, was);
    ReleaseDC(label, dc);
    RECT inside;
    GetClientRect(label, &inside);
    return extent.cx <= inside.right;
  }
  bool painted(const std::string& name) override { return !GetUpdateRect(w(name), nullptr, FALSE); }
  bool within_work_area_when_asked_for(int width, int height) override {
    s_->f1.width = width, s_->f1.height = height;
    view_->sync();
    RECT work, outer;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return false;
    GetWindowRect(view_->hwnd(), &outer);
    return outer.right - outer.left <= work.right - work.left &&
           outer.bottom - outer.top <= work.bottom - work.top && outer.left >= work.left &&
           outer.top >= work.top;
  }
  bool reachable_on_a_small_screen(const std::string& name) override {
    RECT work, small{0, 0, 640, 480};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) ||
        !SystemParametersInfoW(SPI_SETWORKAREA, 0, &small, 0))
      return false;
    SetWindowPos(view_->hwnd(), nullptr, 0, 0, 640, 480, SWP_NOZORDER);
    test::pump_for(400);  // the chart is laid out anew once resizing stops
    // Scrolled to the start and to the end: on each axis the control is in
    // the client area, clear of the scroll bars, at one of them, or, where it
    // is bigger than the client area, its near edge at the start and its far
    // edge at the end.
    auto edges_at = [&](int code) {
      for (int page = 0; page < 5; ++page) {
        SendMessageW(view_->hwnd(), WM_HSCROLL, MAKEWPARAM(code, 0), 0);
        SendMessageW(view_->hwnd(), WM_VSCROLL, MAKEWPARAM(code, 0), 0);
      }
      RECT r;
      GetWindowRect(w(name), &r);
      MapWindowPoints(nullptr, view_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    RECT client, end = edges_at(SB_PAGEDOWN);
    GetClientRect(view_->hwnd(), &client);
    bool scrolled = GetScrollPos(view_->hwnd(), SB_HORZ) > 0;
    RECT start = edges_at(SB_PAGEUP);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    SetWindowPos(view_->hwnd(), nullptr, 0, 0, 1024, 768, SWP_NOMOVE | SWP_NOZORDER);
    auto axis = [](LONG start_lo, LONG start_hi, LONG end_lo, LONG end_hi, LONG room) {
      auto inside = [&](LONG lo, LONG hi) { return lo >= 0 && hi <= room; };
      return inside(start_lo, start_hi) || inside(end_lo, end_hi) ||
             (start_hi - start_lo > room && start_lo >= 0 && end_hi <= room);
    };
    bool across = axis(start.left, start.right, end.left, end.right, client.right);
    bool down = axis(start.top, start.bottom, end.top, end.bottom, client.bottom);
    EXPECT_TRUE(across && down) << name << " at the end: " << end.left << "," << end.top << " - "
                                << end.right << "," << end.bottom << " in " << client.right << "x"
                                << client.bottom;
    return scrolled && across && down && GetScrollPos(view_->hwnd(), SB_HORZ) == 0;
  }
  bool wait_until(const std::function<bool()>& done) override {
    for (int waited = 0; waited < 5000 && !done(); waited += 20) test::pump_for(20);
    return done();
  }
  std::vector<std::pair<const Control*, int>> events_reached() override {
    std::vector<std::pair<const Control*, int>> all;
    for (const auto& b : view_->controls().built()) all.emplace_back(&b->c, b->events_handled);
    return all;
  }

  void expect_message(const std::string& text, Answer answer) override {
    user_.then([=](HWND box) {
      HWND body = GetDlgItem(box, 0xFFFF);
      EXPECT_TRUE(body) << "expected the message " << text << ", got " << text_of(box);
      if (body) {
        EXPECT_EQ(text_of(body), text);
      }
      ModalDriver::press(id_of(answer))(box);
    });
  }
  void expect_any_message(Answer answer) override { user_.then(ModalDriver::press(id_of(answer))); }
  void expect_file(const std::string& path) override {
    user_.then(ModalDriver::type_file_name(path));
  }
  void expect_dialog(const std::string& name,
                     std::function<void(walk::DialogHand&)> acts) override {
    user_.then([=](HWND dialog) {
      EXPECT_EQ(win32::open_dialog_control(name), dialog) << "expected the dialog " << name;
      Win32DialogHand hand;
      acts(hand);
    });
  }
  std::size_t waiting() override { return user_.waiting(); }
  std::vector<std::string> unexpected() override { return user_.unexpected; }
  const std::vector<walk::ModalSeen>& seen() override { return user_.seen; }

 private:
  static int id_of(Answer answer) {
    for (auto [id, a] : test::message_buttons)
      if (a == answer) return id;
    return IDOK;
  }
  HWND w(const std::string& name) {
    HWND found = view_->control(name);
    if (!found) ADD_FAILURE() << "no control " << name;
    return found;
  }
  // A key pressed on the control with the focus, through the message loop.
  void press_key(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    host_.do_events();
  }
  void scroll(int code) {
    HWND bar = w("vs");
    SendMessageW(GetParent(bar), WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(bar));
  }
  void end() {
    if (view_ && !view_->closed()) SendMessageW(view_->hwnd(), WM_CLOSE, 0, 0);
    host_.set_window(nullptr);
    view_.reset();
  }

  ModalDriver user_;
  WalkHost host_;
  std::unique_ptr<AppState> s_;
  std::unique_ptr<win32::MainWindowView> view_;
};

TEST(Win32Window, AUserWalksThroughTheWindowAndARestartRestoresTheSettings) {
  test::TempDir dir;
  Win32Driver driver;
  walk::walk_the_window(driver, dir);
}

}  // namespace
}  // namespace zw
