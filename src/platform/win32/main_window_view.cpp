#include "platform/win32/main_window_view.h"

#include <algorithm>
#include <cmath>

#include "analysis/analysis.h"
#include "base/failure.h"
#include "app/data_trace.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "chart/chart.h"
#include "levels/categories.h"
#include "platform/win32/wide_text.h"

namespace zw::win32 {
namespace {

constexpr const wchar_t* window_class = L"ZoomwrightMain";
constexpr UINT activate_message = WM_APP + 1;
constexpr UINT_PTR tm1_id = 1;
constexpr int first_menu_id = 41000;

std::string indexed(const char* name, int i) { return std::string(name) + "(" + std::to_string(i) + ")"; }

}  // namespace

std::vector<Control> main_window_controls(AppState& s, Host& host) {
  auto& f = s.f1;
  using K = ControlKind;
  using E = UserEvent;
  auto on_click = [](std::function<void()> handler) {
    return [handler](UserEvent e) {
      if (e == UserEvent::click) handler();
    };
  };
  std::vector<Control> t;
  t.push_back({K::flat_button, "com1", &f.com1, [&s, &host](E e) {
                 if (e == E::click) com1_Click(s, host);
                 if (e == E::mouse_move) button_MouseMove(s, host, s.f1.com1);
               }});
  t.push_back({K::flat_button, "command2", &f.command2, [&s, &host](E e) {
                 if (e == E::click) command2_Click(s, host);
                 if (e == E::mouse_move) button_MouseMove(s, host, s.f1.command2);
               }});
  t.push_back({K::combo_box, "Combo2", &f.Combo2, on_click([&s, &host] { Combo2_Click(s, host); })});
  // The font is chosen in the font dialog; this list only shows it.
  t.push_back({K::combo_box, "Combo1", &f.Combo1, {}});
  for (int i = 0; i < 3; ++i)
    t.push_back({K::check_box, indexed("Check3", i), &f.Check3[static_cast<std::size_t>(i)],
                 on_click([&s, &host, i] { Check3_MouseUp(s, host, i); })});
  for (int i = 0; i < category_boxes; ++i)
    t.push_back({K::check_box, indexed("Check1", i), &f.Check1[static_cast<std::size_t>(i)],
                 on_click([&s, &host, i] { Check1_MouseUp(s, host, i); })});
  t.push_back({K::check_box, "Check2", &f.Check2, on_click([&s, &host] { Check2_MouseUp(s, host); })});
  t.push_back({K::check_box, "Check4", &f.Check4, on_click([&s, &host] { Check4_MouseUp(s, host); })});
  t.push_back({K::check_box, "inc", &f.inc, on_click([&s, &host] { option_toggled(s, host); })});
  t.push_back({K::check_box, "ovw", &f.ovw, {}});  // read by the next drawing
  t.push_back({K::check_box, "shtxt", &f.shtxt, on_click([&s, &host] { option_toggled(s, host); })});
  t.push_back({K::check_box, "label2", &f.label2, on_click([&s, &host] { option_toggled(s, host); })});
  t.push_back({K::text_box, "Text2", &f.Text2, [&s, &host](E e) {
                 if (e == E::enter) Text2_KeyPress(s, host, 13);
               }});
  t.push_back({K::multi_line_text, "Text3", &f.Text3, {}});
  t.push_back({K::label, "Label4", &f.Label4, [&s, &host](E e) {
                 if (e == E::double_click) Label4_DblClick(s, host);
                 if (e == E::right_down) Label4_MouseDown(s, host, 2);
               }});
  t.push_back({K::label, "Label5", &f.Label5, {}});
  t.push_back({K::label, "Label6", &f.Label6, {}});
  t.push_back({K::label, "label1", &f.label1, {}});
  t.push_back({K::list_box, "List1", &f.List1, {}});
  // The chart: the header pane p3 with the scale labels, the scrolling pane p2
  // holding the canvas p1 and the scroll bar, and the hidden scratch p4.
  t.push_back({K::picture, "p3", &f.p3, {}});
  for (int k = 0; k < scale_labels; ++k) {
    Control label{K::label, indexed("Label3", k), &f.Label3[static_cast<std::size_t>(k)],
                  on_click([&s, &host, k] { Label3_Click(s, host, k); }), "p3"};
    label.centred = true;
    t.push_back(std::move(label));
  }
  t.push_back({K::picture, "p2", &f.p2, {}});
  t.push_back({K::picture, "p1", &f.p1, [&s, &host](E e) { if (e == E::double_click) chart_DblClick(s, host); }, "p2"});
  t.push_back({K::scroll_bar, "vs", &f.vs, [&s, &host](E) { vs_Scroll(s, host); }, "p2"});
  t.push_back({K::picture, "p4", &f.p4, {}});
  return t;
}

std::vector<MenuCommand> main_window_menus(AppState& s, Host& host) {
  auto& f = s.f1;
  std::vector<MenuCommand> m;
  // The File menu dispatches on the item's index.
  for (int i = 0; i < static_cast<int>(f.mf.size()); ++i)
    m.push_back({"File", &f.mf[static_cast<std::size_t>(i)], [&s, &host, i] { mf_Click(s, host, i); }});
  m.push_back({"Font", &f.mfnt, [&s, &host] { mfnt_Click(s, host); }});
  for (int i = 0; i < static_cast<int>(f.mtls.size()); ++i)
    m.push_back({"Tools", &f.mtls[static_cast<std::size_t>(i)], [&s, &host, i] { mtls_Click(s, host, i); }});
  m.push_back({"Help", &f.mhl, [&s, &host] { mhl_Click(s, host); }});
  return m;
}

MainWindowView::MainWindowView(AppState& s, Host& host, double twips_per_pixel)
    : s_(s),
      host_(host),
      controls_(main_window_controls(s, host), twips_per_pixel,
                [this](const std::function<void()>& handler) { run(handler); }),
      menus_(main_window_menus(s, host)) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = window_class;
    RegisterClassW(&wc);
    registered = true;
  }
  // Made at the model's size; the model follows the window only once it is built.
  double tpp = controls_.twips_per_pixel();
  hwnd_ = CreateWindowExW(0, window_class, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                          CW_USEDEFAULT, CW_USEDEFAULT,
                          static_cast<int>(std::lround(std::max(1, s.f1.width) / tpp)),
                          static_cast<int>(std::lround(std::max(1, s.f1.height) / tpp)), nullptr,
                          nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) fail("Cannot create the main window");
  build_menus();
  controls_.build(hwnd_);
  built_ = true;
  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'R', ctrl_r_command}};
  accelerators_ = CreateAcceleratorTableW(keys, 1);
  sync();
}

MainWindowView::~MainWindowView() {
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void MainWindowView::build_menus() {
  HMENU bar = CreateMenu();
  HMENU popup = nullptr;
  std::string current;
  for (std::size_t i = 0; i < menus_.size(); ++i) {
    const auto& command = menus_[i];
    if (command.menu != current) {
      popup = CreatePopupMenu();
      AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), shown(command.menu).c_str());
      current = command.menu;
    }
    // Indices that hold no item are not in the menu.
    if (!command.item->visible) continue;
    if (command.item->caption == "-")
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuW(popup, MF_STRING, first_menu_id + i, shown(command.item->caption).c_str());
  }
  SetMenu(hwnd_, bar);
}

int MainWindowView::menu_id(const MenuItem& item) const {
  for (std::size_t i = 0; i < menus_.size(); ++i)
    if (menus_[i].item == &item) return first_menu_id + static_cast<int>(i);
  return -1;
}

void MainWindowView::run(const std::function<void()>& handler) {
  if (handler) attempt_quietly(handler);
  sync();
}

void MainWindowView::sync_window() {
  auto& f = s_.f1;
  if (!caption_known_ || applied_caption_ != f.caption) {
    applied_caption_ = f.caption, caption_known_ = true;
    SetWindowTextW(hwnd_, shown(f.caption).c_str());
  }
  // The model's size is the outer one, frame and caption included.
  if (f.width > 0 && f.height > 0 && (f.width != applied_width_ || f.height != applied_height_)) {
    applied_width_ = f.width, applied_height_ = f.height;
    double tpp = controls_.twips_per_pixel();
    SetWindowPos(hwnd_, nullptr, 0, 0, static_cast<int>(std::lround(f.width / tpp)),
                 static_cast<int>(std::lround(f.height / tpp)), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int interval = std::max(1, f.tm1.interval_ms);
  if (f.tm1.enabled && (!timer_on_ || interval != timer_interval_)) {
    SetTimer(hwnd_, tm1_id, static_cast<UINT>(interval), nullptr);
    timer_on_ = true, timer_interval_ = interval;
  } else if (!f.tm1.enabled && timer_on_) {
    KillTimer(hwnd_, tm1_id);
    timer_on_ = false;
  }
  HMENU bar = GetMenu(hwnd_);
  for (std::size_t i = 0; i < menus_.size(); ++i) {
    const auto& item = *menus_[i].item;
    if (!item.visible || item.caption == "-") continue;
    UINT id = first_menu_id + static_cast<UINT>(i);
    EnableMenuItem(bar, id, MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
  }
}

void MainWindowView::sync() {
  if (!hwnd_ || controls_.syncing()) return;
  sync_window();
  controls_.sync();
}

void MainWindowView::show(int how) {
  ShowWindow(hwnd_, how);
  UpdateWindow(hwnd_);
  if (activated_once_) return;
  activated_once_ = true;
  // The first activation once the window is on screen, as the program's own event.
  PostMessageW(hwnd_, activate_message, 0, 0);
}

void MainWindowView::activate() { run([this] { Form_Activate(s_, host_); }); }

bool MainWindowView::translate_accelerator(MSG& msg) {
  return hwnd_ && accelerators_ && TranslateAcceleratorW(hwnd_, accelerators_, &msg);
}

void MainWindowView::set_busy_cursor(bool busy) {
  busy_cursor_ = busy;
  POINT p;
  GetCursorPos(&p);
  if (busy)
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
  else if (hwnd_)
    // The control under the mouse sets its own cursor again.
    SetCursorPos(p.x, p.y);
}

LRESULT CALLBACK MainWindowView::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<MainWindowView*>(create->lpCreateParams)->hwnd_ = w;
  }
  auto* self = reinterpret_cast<MainWindowView*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (!self) return DefWindowProcW(w, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

LRESULT MainWindowView::handle(UINT msg, WPARAM wp, LPARAM lp) {
  auto& f = s_.f1;
  switch (msg) {
    case WM_COMMAND: {
      if (lp != 0) {
        controls_.command(reinterpret_cast<HWND>(lp), HIWORD(wp));
        return 0;
      }
      int id = LOWORD(wp);
      if (id == ctrl_r_command) {
        run([this] { Form_KeyPress(s_, host_, 18); });
      } else if (id >= first_menu_id && id < first_menu_id + static_cast<int>(menus_.size())) {
        run(menus_[static_cast<std::size_t>(id - first_menu_id)].handler);
      }
      return 0;
    }
    case WM_VSCROLL:
      if (lp != 0) controls_.scroll(reinterpret_cast<HWND>(lp), LOWORD(wp));
      return 0;
    case WM_MOUSEWHEEL:
      controls_.wheel("vs", GET_WHEEL_DELTA_WPARAM(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      if (HBRUSH b = controls_.colours(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(b);
      break;
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(hwnd_, &r);
      HBRUSH face = CreateSolidBrush(RGB(colours::button_face.r, colours::button_face.g,
                                         colours::button_face.b));
      FillRect(reinterpret_cast<HDC>(wp), &r, face);
      DeleteObject(face);
      return 1;
    }
    case WM_MOUSEMOVE:
      if (!controls_.syncing()) run([this] { Form_MouseMove(s_, host_); });
      return 0;
    case WM_SETCURSOR:
      if (busy_cursor_) {
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
        return TRUE;
      }
      if (reinterpret_cast<HWND>(wp) != hwnd_) return FALSE;
      break;
    case WM_SIZE: {
      if (wp == SIZE_MINIMIZED || !built_) return 0;
      RECT outer;
      GetWindowRect(hwnd_, &outer);
      double tpp = controls_.twips_per_pixel();
      f.width = applied_width_ = static_cast<int>(std::lround((outer.right - outer.left) * tpp));
      f.height = applied_height_ = static_cast<int>(std::lround((outer.bottom - outer.top) * tpp));
      run([this] { Form_Resize(s_, host_); });
      return 0;
    }
    case WM_GETMINMAXINFO: {
      if (!built_) break;
      // Every control stays reachable: no smaller than the controls above the
      // chart and a few of its rows.
      constexpr int margin = 120, chart_rows = 1500, chart_margin = 800;
      double tpp = controls_.twips_per_pixel();
      POINT edge = controls_.extent();
      RECT r{0, 0, edge.x + static_cast<LONG>(std::lround(margin / tpp)),
             edge.y + static_cast<LONG>(std::lround((f.p3.height() + chart_rows + chart_margin) / tpp))};
      AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), TRUE,
                         static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
      auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
      limits->ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
      return 0;
    }
    case WM_TIMER:
      if (wp == tm1_id) run([this] { tm1_Timer(s_, host_); });
      return 0;
    case activate_message:
      activate();
      return 0;
    case WM_CLOSE:
      run([this] { Form_QueryUnload(s_, host_); });
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      if (timer_on_) KillTimer(hwnd_, tm1_id);
      timer_on_ = false;
      return 0;
    case WM_NCDESTROY: {
      // The program's message loop ends when it finds the window closed.
      HWND closing = hwnd_;
      SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return DefWindowProcW(closing, msg, wp, lp);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace zw::win32
