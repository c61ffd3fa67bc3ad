#include "platform/win32/dialogs.h"

#include <cmath>

#include "app/window_tables.h"
#include "base/failure.h"

namespace zw::win32 {
namespace {

// The dialog on screen: its table's controls and the logic they run.
class DialogView {
 public:
  DialogView(WindowTable table, double tpp)
      : table_(std::move(table)),
        controls_(std::move(table_.controls), tpp,
                  [this](const std::function<void()>& h) { run(h); }),
        face_(CreateSolidBrush(
            RGB(colours::button_face.r, colours::button_face.g, colours::button_face.b))) {}
  ~DialogView() { DeleteObject(face_); }
  DialogView(const DialogView&) = delete;
  DialogView& operator=(const DialogView&) = delete;

  void run(const std::function<void()>& handler) {
    if (handler) attempt_quietly(handler);
    sync();
    if (hwnd_ && table_.closing && *table_.closing && !ended_) {
      ended_ = true;
      EndDialog(hwnd_, 1);
    }
  }

  void sync() {
    if (hwnd_) controls_.sync();
  }

  static INT_PTR CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrW(w, DWLP_USER, lp);
    auto* self = reinterpret_cast<DialogView*>(GetWindowLongPtrW(w, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
      case WM_INITDIALOG: {
        self->hwnd_ = w;
        current() = w;
        RECT r{0, 0, self->controls_.px(self->table_.width),
               self->controls_.px(self->table_.height)};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE)));
        RECT owner{};
        GetWindowRect(GetParent(w) ? GetParent(w) : GetDesktopWindow(), &owner);
        int width = r.right - r.left, height = r.bottom - r.top;
        SetWindowPos(w, nullptr, owner.left + (owner.right - owner.left - width) / 2,
                     owner.top + (owner.bottom - owner.top - height) / 2, width, height,
                     SWP_NOZORDER);
        attempt_quietly([&] { self->controls_.build(w); });
        self->run(self->table_.load);
        return TRUE;
      }
      case WM_COMMAND:
        if (lp) {
          self->controls_.command(reinterpret_cast<HWND>(lp), HIWORD(wp));
        } else if (LOWORD(wp) == IDCANCEL) {
          // Escape closes the dialog as its frame does.
          SendMessageW(w, WM_CLOSE, 0, 0);
        } else if (LOWORD(wp) == IDOK) {
          // Enter presses the dialog's button.
          if (HWND button = self->controls_.first(ControlKind::push_button))
            SendMessageW(button, BM_CLICK, 0, 0);
        }
        return TRUE;
      case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(self->face_);
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORBTN:
        return reinterpret_cast<INT_PTR>(
            self->controls_.colours(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
      case WM_MOUSEMOVE:
        self->controls_.mouse_move();
        return TRUE;
      case WM_CLOSE:
        if (!self->ended_) {
          self->ended_ = true;
          if (self->table_.frame_close) attempt_quietly(self->table_.frame_close);
          EndDialog(w, 0);
        }
        return TRUE;
      case WM_DESTROY:
        if (current() == w) current() = nullptr;
        return FALSE;
      default:
        return FALSE;
    }
  }

  ControlSet& controls() { return controls_; }
  static HWND& current() {
    static HWND shown = nullptr;
    return shown;
  }
  static DialogView*& open() {
    static DialogView* view = nullptr;
    return view;
  }

 private:
  WindowTable table_;
  ControlSet controls_;
  HBRUSH face_;  // the dialog's background, the main window's face
  HWND hwnd_ = nullptr;
  bool ended_ = false;
};

// An empty modal dialog frame; the controls come from the table.
std::vector<DWORD> dialog_template() {
  std::vector<DWORD> buffer(16, 0);
  auto* t = reinterpret_cast<DLGTEMPLATE*>(buffer.data());
  t->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER;
  t->cdit = 0;
  // Menu, class and title follow as three empty words.
  return buffer;
}

}  // namespace

void run_dialog(AppState& s, Host& host, Dialog which, HWND owner, double twips_per_pixel) {
  DialogView view(dialog_table(s, host, which), twips_per_pixel);
  auto buffer = dialog_template();
  DialogView* before = DialogView::open();
  DialogView::open() = &view;
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(buffer.data()),
                          owner, DialogView::proc, reinterpret_cast<LPARAM>(&view));
  DialogView::open() = before;
}

HWND open_dialog() {
  return DialogView::current();
}

HWND open_dialog_control(const std::string& name) {
  DialogView* view = DialogView::open();
  return view ? view->controls().window(name) : nullptr;
}

}  // namespace zw::win32
