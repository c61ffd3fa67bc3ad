#include "platform/win32/dialogs.h"

#include <cmath>

#include "app/about_box.h"
#include "base/failure.h"
#include "app/font_dialog.h"
#include "app/typ_check_run.h"
#include "app/convert_dialog.h"
#include "platform/win32/wide_text.h"

namespace zw::win32 {
namespace {

using K = ControlKind;
using E = UserEvent;

Control at(Control c, Bounds place) {
  c.place = place;
  return c;
}

// The dialog's push button, Command1.
Control command1(Button& model, std::function<void()> click, Bounds place) {
  return at({K::push_button, "Command1", &model, [click](E e) {
               if (e == E::click) click();
             }},
            place);
}

// The dialog on screen: its table's controls and the logic they run.
class DialogView {
 public:
  DialogView(DialogDefinition definition, double tpp)
      : definition_(std::move(definition)),
        controls_(std::move(definition_.controls), tpp, [this](const std::function<void()>& h) { run(h); }),
        tpp_(tpp),
        face_(CreateSolidBrush(RGB(colours::button_face.r, colours::button_face.g,
                                   colours::button_face.b))) {}
  ~DialogView() { DeleteObject(face_); }
  DialogView(const DialogView&) = delete;
  DialogView& operator=(const DialogView&) = delete;

  void run(const std::function<void()>& handler) {
    if (handler) attempt_quietly(handler);
    sync();
    if (hwnd_ && definition_.closing && definition_.closing() && !ended_) {
      ended_ = true;
      EndDialog(hwnd_, 1);
    }
  }

  void sync() {
    if (!hwnd_) return;
    auto caption = definition_.caption ? definition_.caption() : std::string();
    if (caption != caption_) {
      caption_ = caption;
      SetWindowTextW(hwnd_, shown(caption).c_str());
    }
    controls_.sync();
  }

  static INT_PTR CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrW(w, DWLP_USER, lp);
    auto* self = reinterpret_cast<DialogView*>(GetWindowLongPtrW(w, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
      case WM_INITDIALOG: {
        self->hwnd_ = w;
        current() = w;
        RECT r{0, 0, self->px(self->definition_.width), self->px(self->definition_.height)};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE)));
        RECT owner{};
        GetWindowRect(GetParent(w) ? GetParent(w) : GetDesktopWindow(), &owner);
        int width = r.right - r.left, height = r.bottom - r.top;
        SetWindowPos(w, nullptr, owner.left + (owner.right - owner.left - width) / 2,
                     owner.top + (owner.bottom - owner.top - height) / 2, width, height,
                     SWP_NOZORDER);
        attempt_quietly([&] { self->controls_.build(w); });
        self->run(self->definition_.load);
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
        if (self->definition_.mouse_move && !self->controls_.syncing()) self->run(self->definition_.mouse_move);
        return TRUE;
      case WM_CLOSE:
        if (!self->ended_) {
          self->ended_ = true;
          if (self->definition_.frame_close) attempt_quietly(self->definition_.frame_close);
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
  int px(double twips) const { return static_cast<int>(std::lround(twips / tpp_)); }

  DialogDefinition definition_;
  ControlSet controls_;
  double tpp_;
  HBRUSH face_;  // the dialog's background, the main window's face
  HWND hwnd_ = nullptr;
  std::string caption_ = "\x01";
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

DialogDefinition font_dialog(AppState& s, Host& host) {
  DialogDefinition d;
  auto& m = s.fontt;
  d.caption = [&m] { return m.caption; };
  d.width = 4860, d.height = 2280;
  d.controls.push_back(at({K::editable_combo, "Combo1", &m.Combo1,
                           [&s](E e) { if (e == E::click) font_form::Combo1_Click(s); }},
                          {120, 120, 3480, 315}));
  d.controls.push_back(at({K::editable_combo, "Combo2", &m.Combo2,
                           [&s](E e) { if (e == E::click) font_form::Combo2_Click(s); }},
                          {3720, 120, 1020, 315}));
  Control preview = at({K::label, "Label1", &m.Label1, {}}, {120, 600, 4620, 900});
  preview.centred = true;
  preview.font = [&m] { return std::pair{m.preview_font, m.preview_size}; };
  d.controls.push_back(std::move(preview));
  d.controls.push_back(command1(m.Command1, [&s] { font_form::Command1_Click(s); }, {3540, 1740, 1200, 375}));
  d.load = [&s, &host] { font_form::Form_Load(s, host); };
  d.closing = [&m] { return m.closing; };
  return d;
}

DialogDefinition about_box(AppState& s, Host& host) {
  DialogDefinition d;
  auto& m = s.Infor;
  d.caption = [&m] { return m.caption; };
  d.width = 5400, d.height = 3000;
  // The program's name in its colour; the link in the colour of links.
  m.Label9.fore = colours::dark_red;
  m.Label2.fore = colours::blue;
  Control name = at({K::label, "Label9", &m.Label9, {}}, {240, 180, 4920, 480});
  name.font = [] { return std::pair{std::string("Arial"), 16.0}; };
  d.controls.push_back(std::move(name));
  d.controls.push_back(at({K::label, "Label3", &m.Label3, {}}, {240, 720, 4920, 255}));
  d.controls.push_back(at({K::label, "label1", &m.label1, {}}, {240, 1080, 4920, 900}));
  d.controls.push_back(at({K::label, "Label2", &m.Label2,
                           [&s, &host](E e) { if (e == E::click) about_form::Label2_Click(s, host); }},
                          {240, 2100, 4920, 255}));
  d.controls.push_back(command1(m.Command1, [&s] { about_form::Command1_Click(s); }, {4080, 2520, 1080, 375}));
  d.load = [&s] { about_form::Form_Activate(s); };
  d.closing = [&m] { return m.closing; };
  return d;
}

DialogDefinition convert_dialog(AppState& s, Host& host) {
  DialogDefinition d;
  auto& m = s.convert;
  d.caption = [&m] { return m.caption; };
  d.width = 5100, d.height = 1560;
  d.controls.push_back(at({K::label, "label1", &m.label1, {}}, {120, 180, 1200, 255}));
  Control name = at({K::text_box, "Text1", &m.Text1, {}}, {1380, 120, 3600, 315});
  name.key_filter = [](int& key) { convert_form::Text1_KeyPress(key); };
  d.controls.push_back(std::move(name));
  d.controls.push_back(at({K::label, "Label2", &m.Label2, {}}, {120, 600, 1200, 255}));
  Control source = at({K::label, "Label3", &m.Label3, {}}, {1380, 600, 3600, 255});
  source.bold_font = true;
  d.controls.push_back(std::move(source));
  for (int i = 0; i < 2; ++i) {
    auto& box = m.command1[static_cast<std::size_t>(i)];
    d.controls.push_back(at({K::flat_button, i == 0 ? "command1(0)" : "command1(1)", &box,
                             [&s, &host, i](E e) {
                               if (e == E::mouse_move) convert_form::command1_MouseMove(s, host, i);
                               if (e == E::click) convert_form::command1_Click(s, host, i);
                             }},
                            {2640 + 1220 * i, 1020, box.width(), box.height()}));
  }
  d.load = [&s, &host] { convert_form::Form_Load(s, host); };
  d.closing = [&m] { return m.closing; };
  d.frame_close = [&s, &m] {
    if (!m.closing) convert_form::Form_Unload(s);
  };
  d.mouse_move = [&s, &host] { convert_form::Form_MouseMove(s, host); };
  return d;
}

DialogDefinition typ_check_dialog(AppState& s, Host& host) {
  DialogDefinition d;
  auto& m = s.typcheck;
  d.caption = [&m] { return m.caption; };
  d.width = 12000, d.height = 6000;
  d.controls.push_back(at({K::label, "Label1", &m.Label1, {}}, {120, 120, 11760, 500}));
  d.controls.push_back(at({K::list_box, "List1", &m.List1,
                           [&s, &host](E e) {
                             if (e == E::double_click) typ_findings_DblClick(s, host, s.typcheck.List1.index);
                           }},
                          {120, 660, 11760, 4620}));
  d.controls.push_back(command1(m.Command1, [&s] { typ_findings_Close(s); }, {10680, 5460, 1200, 375}));
  d.closing = [&m] { return m.closing; };
  return d;
}

void run_dialog(AppState& s, Host& host, Dialog which, HWND owner, double twips_per_pixel) {
  DialogDefinition definition = which == Dialog::font        ? font_dialog(s, host)
                                 : which == Dialog::about     ? about_box(s, host)
                                 : which == Dialog::typ_check ? typ_check_dialog(s, host)
                                                              : convert_dialog(s, host);
  DialogView view(std::move(definition), twips_per_pixel);
  auto buffer = dialog_template();
  DialogView* before = DialogView::open();
  DialogView::open() = &view;
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(buffer.data()),
                          owner, DialogView::proc, reinterpret_cast<LPARAM>(&view));
  DialogView::open() = before;
}

HWND open_dialog() { return DialogView::current(); }

HWND open_dialog_control(const std::string& name) {
  DialogView* view = DialogView::open();
  return view ? view->controls().window(name) : nullptr;
}

}  // namespace zw::win32
