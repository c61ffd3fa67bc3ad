#include "platform/win32/main_window_view.h"
#include "app/check_handlers.h"

#include <algorithm>
#include <cmath>

#include "app/follow_files.h"
#include "app/main_window.h"
#include "app/window_tables.h"
#include "base/failure.h"
#include "platform/win32/wide_text.h"

namespace zw::win32 {
namespace {

constexpr const wchar_t* window_class = L"ZoomwrightMain";
constexpr UINT activate_message = WM_APP + 1;

}  // namespace

MainWindowView::MainWindowView(AppState& s, Host& host, double twips_per_pixel)
    : s_(s),
      host_(host),
      controls_(main_window_table(s, host).controls, twips_per_pixel,
                [this](const std::function<void()>& handler) { run(handler); }) {
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
  hwnd_ =
      CreateWindowExW(0, window_class, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                      CW_USEDEFAULT, static_cast<int>(std::lround(std::max(1, s.f1.width) / tpp)),
                      static_cast<int>(std::lround(std::max(1, s.f1.height) / tpp)), nullptr,
                      nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) fail("Cannot create the main window");
  controls_.build(hwnd_);
  built_ = true;
  auto keys = controls_.accelerators();
  if (!keys.empty())
    accelerators_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
  sync();
  // A followed file saved elsewhere reaches the logic as the window's own events do.
  host_.file_watch().changed = [this](const std::string& path) {
    run([&] { file_changed(s_, host_, path); });
  };
}

MainWindowView::~MainWindowView() {
  host_.file_watch().changed = nullptr;
  host_.file_watch().watch({});
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void MainWindowView::run(const std::function<void()>& handler) {
  if (handler) attempt_quietly(handler);
  sync();
}

// The work area of the screen the window is on (the primary screen's as the
// system keeps it: not every system tells a changed one through the monitor).
RECT MainWindowView::work_area() const {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info) &&
      !(info.dwFlags & MONITORINFOF_PRIMARY))
    return info.rcWork;
  RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &all, 0);
  return all;
}

void MainWindowView::sync_window_size() {
  auto& f = s_.f1;
  // The model's size is the outer one, frame and caption included.
  if (f.width <= 0 || f.height <= 0 || (f.width == applied_width_ && f.height == applied_height_))
    return;
  applied_width_ = f.width, applied_height_ = f.height;
  // No larger than the work area, and moved onto it where it would stick out.
  RECT work = work_area(), at;
  GetWindowRect(hwnd_, &at);
  int width = std::min<int>(controls_.px(f.width), work.right - work.left);
  int height = std::min<int>(controls_.px(f.height), work.bottom - work.top);
  int left = std::max<int>(work.left, std::min<int>(at.left, work.right - width));
  int top = std::max<int>(work.top, std::min<int>(at.top, work.bottom - height));
  SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Scroll bars on the window where its client area is smaller than the
// controls need (a screen smaller than the window's least size); the controls
// follow their position.
void MainWindowView::fit_scroll_bars() {
  if (fitting_ || !built_) return;
  fitting_ = true;
  const auto& f = s_.f1;
  RECT client;
  GetClientRect(hwnd_, &client);
  auto fit = [&](int bar, int need, int have) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    GetScrollInfo(hwnd_, bar, &info);
    int at = std::clamp(info.nPos, 0, std::max(0, need - have));
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = need > have ? need - 1 : 0;
    info.nPage = need > have ? static_cast<UINT>(have) : 0;
    info.nPos = at;
    SetScrollInfo(hwnd_, bar, &info, TRUE);
    return at;
  };
  // The chart pane is laid out for the window's outer size: once the window
  // scrolls, the bars take room from it, and the ranges cover it as well.
  // Showing one bar narrows the room for the other, so the client area is
  // read again after each.
  POINT at{};
  for (int pass = 0; pass < 2; ++pass) {
    int need_w = controls_.px(f.min_client_width()), need_h = controls_.px(f.min_client_height());
    GetClientRect(hwnd_, &client);
    if (need_w > client.right || need_h > client.bottom) {
      need_w = std::max(need_w, controls_.px(f.p2.left + f.p2.width()));
      need_h = std::max(need_h, controls_.px(f.p2.top + f.p2.height()));
    }
    at.x = fit(SB_HORZ, need_w, client.right);
    GetClientRect(hwnd_, &client);
    at.y = fit(SB_VERT, need_h, client.bottom);
  }
  fitting_ = false;
  POINT was = controls_.origin();
  controls_.set_origin(at);
  // Everything moved: what the controls left uncovered is painted afresh.
  if (was.x != at.x || was.y != at.y)
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindowView::scroll_window(int bar, int code) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(hwnd_, bar, &info)) return;
  int at = info.nPos, step = controls_.px(MainWindow::edge_margin * 2);
  switch (code) {
    case SB_LINEUP:
      at -= step;
      break;
    case SB_LINEDOWN:
      at += step;
      break;
    case SB_PAGEUP:
      at -= static_cast<int>(info.nPage);
      break;
    case SB_PAGEDOWN:
      at += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      at = info.nTrackPos;
      break;
    default:
      return;
  }
  info.fMask = SIF_POS;
  info.nPos = at;
  SetScrollInfo(hwnd_, bar, &info, TRUE);
  fit_scroll_bars();
}

void MainWindowView::sync() {
  if (!hwnd_ || controls_.syncing()) return;
  sync_window_size();
  fit_scroll_bars();
  controls_.sync();
  // What the sync changed is painted now: a long handler may keep the loop
  // from painting for seconds, and controls moved, shown or recaptioned would
  // stay blank or half drawn until then.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void MainWindowView::show(int how) {
  ShowWindow(hwnd_, how);
  UpdateWindow(hwnd_);
  if (activated_once_) return;
  activated_once_ = true;
  // The first activation once the window is on screen, as the program's own event.
  PostMessageW(hwnd_, activate_message, 0, 0);
}

void MainWindowView::activate() {
  run([this] { Form_Activate(s_, host_); });
}

bool MainWindowView::translate_accelerator(MSG& msg) {
  return hwnd_ && accelerators_ && TranslateAcceleratorW(hwnd_, accelerators_, &msg);
}

bool MainWindowView::dialog_message(MSG& msg) {
  return hwnd_ && IsDialogMessageW(hwnd_, &msg);
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
      controls_.menu_command(LOWORD(wp));
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lp != 0)
        controls_.scroll(reinterpret_cast<HWND>(lp), LOWORD(wp));
      else
        scroll_window(msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wp));
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
      HBRUSH face = CreateSolidBrush(
          RGB(colours::button_face.r, colours::button_face.g, colours::button_face.b));
      FillRect(reinterpret_cast<HDC>(wp), &r, face);
      DeleteObject(face);
      return 1;
    }
    case WM_MOUSEMOVE:
      controls_.mouse_move();
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
      fit_scroll_bars();
      run([this] { Form_Resize(s_, host_); });
      return 0;
    }
    case WM_GETMINMAXINFO: {
      if (!built_) break;
      // Every control stays on the window: no smaller than the controls above
      // the chart and a few of its rows, nor larger than the screen allows.
      RECT r{0, 0, controls_.px(f.min_client_width()), controls_.px(f.min_client_height())};
      AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), TRUE,
                         static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
      RECT work = work_area();
      auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
      limits->ptMinTrackSize = {std::min(r.right - r.left, work.right - work.left),
                                std::min(r.bottom - r.top, work.bottom - work.top)};
      return 0;
    }
    case WM_TIMER:
      controls_.timer(wp);
      return 0;
    case activate_message:
      activate();
      return 0;
    case WM_CLOSE:
      run([this] { Form_QueryUnload(s_, host_); });
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      controls_.stop_timers();
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
