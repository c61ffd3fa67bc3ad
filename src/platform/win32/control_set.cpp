#include "platform/win32/control_set.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "base/failure.h"
#include "model/window_controls.h"
#include "platform/win32/wide_text.h"

namespace zw::win32 {

using Built = ControlSet::Built;

// One control kind on screen: makes its window, answers its notifications
// and brings it up to date from the model.
class KindAdapter {
 public:
  virtual ~KindAdapter() = default;
  virtual void make(ControlSet& set, Built& b, HWND parent) const = 0;
  virtual void mirror(ControlSet& set, Built& b) const = 0;
  // A WM_COMMAND notification from the control's window.
  virtual void notify(ControlSet& set, Built& b, int code) const { (void)set, (void)b, (void)code; }
};

namespace {

COLORREF colorref(Colour c) {
  return RGB(c.r, c.g, c.b);
}
std::uint32_t key_of(Colour c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

std::wstring window_text(HWND w) {
  int n = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(std::max(0, n)) + 1, L'\0');
  n = GetWindowTextW(w, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(0, n)));
  return text;
}

bool same(const Bounds& a, const Bounds& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

template <class M>
M& model_of(const Built& b) {
  return *std::get<M*>(b.c.model);
}

LRESULT CALLBACK picture_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* link = reinterpret_cast<PictureLink*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT all;
      GetClientRect(w, &all);
      // A tall picture holds only a band of itself, from its first pixel row on.
      int iw = 0, ih = 0, band = 0;
      if (link && link->surface) {
        iw = link->surface->pixel_width(), ih = link->surface->pixel_height();
        band = link->surface->band_top_pixels() - link->view_top;
        BitBlt(dc, 0, band, iw, ih, link->surface->dc(), 0, 0, SRCCOPY);
      }
      HBRUSH back = CreateSolidBrush(link ? colorref(link->back) : RGB(255, 255, 255));
      LONG left_of_right = std::min<LONG>(iw, all.right);
      RECT right{iw, 0, all.right, all.bottom}, above{0, 0, left_of_right, band},
          below{0, band + ih, left_of_right, all.bottom};
      for (const RECT* r : {&right, &above, &below})
        if (r->left < r->right && r->top < r->bottom) FillRect(dc, r, back);
      DeleteObject(back);
      if (link && link->hand && GetFocus() == w) {
        RECT inside{2, 2, all.right - 2, all.bottom - 2};
        DrawFocusRect(dc, &inside);
      }
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE: {
      // A flat button takes Enter and Space itself; Tab moves on.
      auto* key = reinterpret_cast<const MSG*>(lp);
      if (link && link->hand && key && key->message == WM_KEYDOWN &&
          (key->wParam == VK_RETURN || key->wParam == VK_SPACE))
        return DLGC_WANTMESSAGE;
      return 0;
    }
    case WM_KEYDOWN:
      if (link && link->report && link->hand && (wp == VK_RETURN || wp == VK_SPACE)) {
        link->report(UserEvent::click);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (link && link->hand) InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      if (link && link->hand) SetFocus(w);
      break;
    case WM_LBUTTONUP: {
      RECT r;
      GetClientRect(w, &r);
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (link && link->report && PtInRect(&r, p)) link->report(UserEvent::click);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      // A picture's double-click tells where (a flat button's is a second click).
      if (link && link->report && !link->hand && link->box && link->surface) {
        double tpp = link->surface->twips_per_pixel();
        link->box->mouse_x = static_cast<short>(LOWORD(lp)) * tpp;
        link->box->mouse_y = (static_cast<short>(HIWORD(lp)) + link->view_top) * tpp;
        link->report(UserEvent::double_click);
      }
      return 0;
    case WM_MOUSEMOVE:
      // Only a flat button follows the mouse: a chart need not be brought up to date on every move.
      if (link && link->report && link->hand) link->report(UserEvent::mouse_move);
      return 0;
    case WM_SETCURSOR:
      if (link && link->hand && reinterpret_cast<HWND>(wp) == w) {
        // The window's busy cursor comes first.
        if (SendMessageW(GetParent(w), WM_SETCURSOR, wp, lp)) return TRUE;
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
      }
      break;
    // The controls inside a picture box (the scale labels, the canvas's scroll
    // bar) report to the window that owns the table.
    case WM_COMMAND:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetParent(w), msg, wp, lp);
    default:
      break;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

// A child window of a control's own.
void make_child(ControlSet& set, Built& b, HWND parent, const wchar_t* cls, DWORD style,
                DWORD ex = 0) {
  // Siblings may overlap (the canvas and its scroll bar): the one made later
  // lies on top, and each paints only where it is not covered.
  b.hwnd = CreateWindowExW(ex, cls, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!b.hwnd) fail("Cannot create the control " + b.c.name);
  b.child = true;
  SetWindowPos(b.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(set.normal_font()), FALSE);
}

// The common properties of a child window, each set only when it changed.
void place(ControlSet& set, Built& b, const Bounds& bounds, int extra_height = 0) {
  if (same(bounds, b.bounds)) return;
  b.bounds = bounds;
  POINT shift = b.c.container.empty() ? set.origin() : POINT{0, 0};
  MoveWindow(b.hwnd, set.px(bounds.left) - shift.x, set.px(bounds.top) - shift.y,
             set.px(bounds.width), set.px(bounds.height) + extra_height, TRUE);
}
void show(Built& b, bool visible) {
  if (b.visible == static_cast<int>(visible)) return;
  b.visible = visible;
  ShowWindow(b.hwnd, visible ? SW_SHOWNA : SW_HIDE);
}
void enable(Built& b, bool enabled) {
  if (b.enabled == static_cast<int>(enabled)) return;
  b.enabled = enabled;
  EnableWindow(b.hwnd, enabled);
}
void caption(Built& b, const std::string& text) {
  if (b.text_known && b.text == text) return;
  b.text = text, b.text_known = true;
  SetWindowTextW(b.hwnd, shown(text).c_str());
}
void paint_colours(Built& b, Colour fore, Colour back) {
  if (b.fore == fore && b.back == back && b.bold >= 0) return;
  b.fore = fore, b.back = back;
  InvalidateRect(b.hwnd, nullptr, TRUE);
}
bool list_items(Built& b, const std::vector<std::string>& items, UINT reset, UINT add) {
  if (items == b.items) return false;
  bool grew =
      items.size() > b.items.size() && std::equal(b.items.begin(), b.items.end(), items.begin());
  if (!grew) {
    SendMessageW(b.hwnd, reset, 0, 0);
    b.items.clear();
  }
  for (std::size_t i = b.items.size(); i < items.size(); ++i)
    SendMessageW(b.hwnd, add, 0, reinterpret_cast<LPARAM>(shown(items[i]).c_str()));
  b.items = items;
  return true;
}

class FormAdapter : public KindAdapter {
 public:
  void make(ControlSet&, Built& b, HWND parent) const override { b.hwnd = parent; }
  void mirror(ControlSet&, Built& b) const override { caption(b, model_of<std::string>(b)); }
};

class PictureAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    register_picture_class();
    bool button = b.c.kind == ControlKind::flat_button;
    make_child(set, b, parent, picture_class, WS_CLIPCHILDREN | (button ? WS_TABSTOP : 0));
    b.surface = std::make_unique<GdiSurface>(set.twips_per_pixel());
    model_of<PictureBox>(b).attach(b.surface.get());
    HWND w = b.hwnd;
    b.surface->on_change([w] { InvalidateRect(w, nullptr, FALSE); });
    b.link.surface = b.surface.get();
    b.link.hand = b.c.kind == ControlKind::flat_button;
    b.link.box = &model_of<PictureBox>(b);
    b.link.report = [&set, &b](UserEvent e) { set.user(b, e); };
    SetWindowLongPtrW(b.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&b.link));
  }
  void mirror(ControlSet& set, Built& b) const override {
    const auto& m = model_of<PictureBox>(b);
    // A picture on the window follows the window's scroll bars, as every
    // other control does (the chart pane on a small screen).
    POINT shift = b.c.container.empty() ? set.origin() : POINT{0, 0};
    int left = set.px(m.left) - shift.x, top = set.px(m.top) - shift.y;
    int w = set.px(m.width()), h = set.px(m.height());
    // A picture in a box (the chart in its pane) gets a window over the part
    // in view only: a long chart is taller than any window the system draws.
    int view_top = 0;
    if (!b.c.container.empty()) {
      RECT inside;
      GetClientRect(GetParent(b.hwnd), &inside);
      view_top = std::clamp(-top, 0, std::max(h, 0));
      h = std::clamp(static_cast<int>(inside.bottom) - top, view_top, std::max(h, view_top)) -
          view_top;
      top += view_top;
    }
    RECT at{left, top, left + w, top + h};
    if (!EqualRect(&at, &b.link.placed) || view_top != b.link.view_top) {
      b.link.placed = at;
      b.link.view_top = view_top;
      MoveWindow(b.hwnd, left, top, w, h, FALSE);
      InvalidateRect(b.hwnd, nullptr, FALSE);
    }
    b.link.back = m.back;
    show(b, m.visible);
  }
};

class CheckAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    make_child(set, b, parent, L"BUTTON", BS_CHECKBOX | WS_TABSTOP);
  }
  void notify(ControlSet& set, Built& b, int code) const override {
    if (code != BN_CLICKED) return;
    auto& m = model_of<CheckBox>(b);
    set.user(b, UserEvent::click, [&] {
      m.value = m.value == 1 ? 0 : 1;
      b.value = -1;  // the button toggled itself only in the model
    });
  }
  void mirror(ControlSet& set, Built& b) const override {
    const auto& m = model_of<CheckBox>(b);
    place(set, b, m.bounds);
    caption(b, m.caption);
    if (b.value != m.value) {
      b.value = m.value;
      SendMessageW(b.hwnd, BM_SETCHECK, m.value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    enable(b, m.enabled);
    paint_colours(b, m.fore, m.back);
    show(b, m.visible);
  }
};

class LabelAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    make_child(set, b, parent, L"STATIC", SS_NOTIFY | (b.c.centred ? SS_CENTER : SS_LEFT));
    set.subclass(b);
  }
  void notify(ControlSet& set, Built& b, int code) const override {
    if (code == STN_CLICKED) set.user(b, UserEvent::click);
    if (code == STN_DBLCLK) set.user(b, UserEvent::double_click);
  }
  void mirror(ControlSet& set, Built& b) const override {
    const auto& m = model_of<Label>(b);
    place(set, b, m.bounds);
    caption(b, m.caption);
    if (b.c.font) {
      set.apply_font(b, m.bold);
    } else if (b.bold != static_cast<int>(m.bold)) {
      SendMessageW(b.hwnd, WM_SETFONT,
                   reinterpret_cast<WPARAM>(m.bold ? set.bold_font() : set.normal_font()), TRUE);
    }
    b.bold = m.bold;
    paint_colours(b, m.fore, m.back);
    show(b, m.visible);
  }
};

class TextAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    if (b.c.kind == ControlKind::multi_line_text)
      make_child(set, b, parent, L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                 WS_EX_CLIENTEDGE);
    else
      make_child(set, b, parent, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
    set.subclass(b);
  }
  void notify(ControlSet&, Built& b, int code) const override {
    if (code != EN_CHANGE) return;
    auto& m = model_of<TextBox>(b);
    m.text = utf8(window_text(b.hwnd));
    b.text = m.text, b.text_known = true;
  }
  void mirror(ControlSet& set, Built& b) const override {
    auto& m = model_of<TextBox>(b);
    place(set, b, m.bounds);
    set.apply_font(b, false);
    caption(b, m.text);
    if (b.value != static_cast<int>(m.read_only)) {
      b.value = m.read_only;
      SendMessageW(b.hwnd, EM_SETREADONLY, m.read_only, 0);
    }
    enable(b, m.enabled);
    paint_colours(b, colours::black, m.back);
    show(b, true);
    if (m.wants_focus) {
      SetFocus(b.hwnd);
      m.wants_focus = false;
    }
  }
};

class ComboAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    make_child(set, b, parent, L"COMBOBOX",
               CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP);
    if (b.c.kind == ControlKind::combo_box) {
      // The list is chosen from, not typed into; its text shows what the model says.
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      if (GetComboBoxInfo(b.hwnd, &info) && info.hwndItem)
        SendMessageW(info.hwndItem, EM_SETREADONLY, TRUE, 0);
    }
  }
  void notify(ControlSet& set, Built& b, int code) const override {
    auto& combo = model_of<ComboBox>(b);
    if (code == CBN_SELCHANGE) {
      auto index = static_cast<long long>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0));
      if (index < 0) return;
      set.user(b, UserEvent::click, [&] {
        combo.text = bounded(combo.items, index, b.c.name.c_str());
        b.text = combo.text, b.text_known = true;
      });
    } else if (code == CBN_EDITCHANGE && b.c.kind == ControlKind::editable_combo) {
      combo.text = utf8(window_text(b.hwnd));
      b.text = combo.text, b.text_known = true;
    }
  }
  void mirror(ControlSet& set, Built& b) const override {
    const auto& m = model_of<ComboBox>(b);
    place(set, b, m.bounds, 200);
    set.apply_font(b, false);
    bool changed = list_items(b, m.items, CB_RESETCONTENT, CB_ADDSTRING);
    if (changed || !b.text_known || b.text != m.text) {
      // The shown text need not be one of the items ("No Styles").
      auto found = std::find(m.items.begin(), m.items.end(), m.text);
      SendMessageW(b.hwnd, CB_SETCURSEL,
                   found == m.items.end() ? static_cast<WPARAM>(-1)
                                          : static_cast<WPARAM>(found - m.items.begin()),
                   0);
      if (found == m.items.end()) SetWindowTextW(b.hwnd, shown(m.text).c_str());
      b.text = m.text, b.text_known = true;
    }
    enable(b, m.enabled);
    show(b, true);
  }
};

class ListAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    make_child(set, b, parent, L"LISTBOX", LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL,
               WS_EX_CLIENTEDGE);
  }
  void notify(ControlSet& set, Built& b, int code) const override {
    if (code != LBN_DBLCLK) return;
    auto& m = model_of<ListBox>(b);
    set.user(b, UserEvent::double_click,
             [&] { m.index = static_cast<int>(SendMessageW(b.hwnd, LB_GETCURSEL, 0, 0)); });
  }
  void mirror(ControlSet& set, Built& b) const override {
    const auto& m = model_of<ListBox>(b);
    place(set, b, m.bounds);
    list_items(b, m.items, LB_RESETCONTENT, LB_ADDSTRING);
    show(b, m.visible);
  }
};

class ScrollAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    make_child(set, b, parent, L"SCROLLBAR", SBS_VERT);
  }
  void mirror(ControlSet& set, Built& b) const override {
    const auto& m = model_of<ScrollBar>(b);
    place(set, b, m.bounds);
    int large = std::max(1, m.large_change), max = std::max(0, m.max);
    if (b.max != max || b.large != large || b.value != m.value) {
      b.max = max, b.large = large, b.value = m.value;
      // The page makes the thumb; the range then ends at max for the value.
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
      info.nMin = 0;
      info.nMax = max + large - 1;
      info.nPage = static_cast<UINT>(large);
      info.nPos = std::clamp(m.value, 0, max);
      SetScrollInfo(b.hwnd, SB_CTL, &info, TRUE);
    }
    enable(b, m.enabled);
    show(b, true);
  }
};

class ButtonAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    make_child(set, b, parent, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
  }
  void notify(ControlSet& set, Built& b, int code) const override {
    if (code == BN_CLICKED) set.user(b, UserEvent::click);
  }
  void mirror(ControlSet& set, Built& b) const override {
    const auto& m = model_of<Button>(b);
    place(set, b, m.bounds);
    caption(b, m.caption);
    enable(b, m.enabled);
    show(b, m.visible);
  }
};

// Runs on the form's window, under the id of its row.
class TimerAdapter : public KindAdapter {
 public:
  void make(ControlSet&, Built& b, HWND parent) const override { b.hwnd = parent; }
  void mirror(ControlSet&, Built& b) const override {
    const auto& m = model_of<Timer>(b);
    int interval = std::max(1, m.interval_ms);
    UINT_PTR id = first_timer_id + b.row;
    if (m.enabled && (!b.timer_on || interval != b.interval)) {
      SetTimer(b.hwnd, id, static_cast<UINT>(interval), nullptr);
      b.timer_on = true, b.interval = interval;
    } else if (!m.enabled && b.timer_on) {
      KillTimer(b.hwnd, id);
      b.timer_on = false;
    }
  }
};

// An item of the form's menu bar, in the menu its container names.
class MenuItemAdapter : public KindAdapter {
 public:
  void make(ControlSet& set, Built& b, HWND parent) const override {
    b.hwnd = parent;
    HMENU menu = set.popup(parent, b.c.container);
    const auto& item = model_of<MenuItem>(b);
    if (!item.visible) return;
    if (item.caption == "-")
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuW(menu, MF_STRING, first_menu_id + b.row, shown(item.caption).c_str());
  }
  void mirror(ControlSet&, Built& b) const override {
    const auto& item = model_of<MenuItem>(b);
    if (!item.visible || item.caption == "-" || b.enabled == static_cast<int>(item.enabled)) return;
    b.enabled = item.enabled;
    EnableMenuItem(GetMenu(b.hwnd), static_cast<UINT>(first_menu_id + b.row),
                   MF_BYCOMMAND | (item.enabled ? MF_ENABLED : MF_GRAYED));
  }
};

const KindAdapter& adapter(ControlKind kind) {
  static const FormAdapter form;
  static const PictureAdapter picture;
  static const CheckAdapter check;
  static const LabelAdapter label;
  static const TextAdapter text;
  static const ComboAdapter combo;
  static const ListAdapter list;
  static const ScrollAdapter scroll;
  static const ButtonAdapter button;
  static const TimerAdapter timer;
  static const MenuItemAdapter menu_item;
  switch (kind) {
    case ControlKind::form:
      return form;
    case ControlKind::flat_button:
    case ControlKind::picture:
      return picture;
    case ControlKind::check_box:
      return check;
    case ControlKind::label:
      return label;
    case ControlKind::text_box:
    case ControlKind::multi_line_text:
      return text;
    case ControlKind::combo_box:
    case ControlKind::editable_combo:
      return combo;
    case ControlKind::list_box:
      return list;
    case ControlKind::scroll_bar:
      return scroll;
    case ControlKind::push_button:
      return button;
    case ControlKind::timer:
      return timer;
    case ControlKind::menu_item:
      return menu_item;
  }
  fail(std::string("No control window for a ") + kind_name(kind));
}

}  // namespace

void register_picture_class() {
  static bool done = false;
  if (done) return;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = picture_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = picture_class;
  RegisterClassW(&wc);
  done = true;
}

ControlSet::ControlSet(std::vector<Control> table, double twips_per_pixel,
                       std::function<void(const std::function<void()>&)> run)
    : tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15), run_(std::move(run)) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    auto b = std::make_unique<Built>();
    b->c = std::move(table[i]);
    b->row = i;
    b->adapter = &adapter(b->c.kind);
    built_.push_back(std::move(b));
  }
  int dpi = static_cast<int>(std::lround(1440.0 / tpp_));
  auto face = [&](const wchar_t* name, int points, int weight) {
    return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, name);
  };
  // The face the windows are designed for, as the other binding shows them; it
  // has a bold of its own (the dialog face is only emboldened, where at all).
  auto design = shown(control_font);
  int points = static_cast<int>(std::lround(control_font_points));
  normal_font_ = face(design.c_str(), points, FW_NORMAL);
  bold_font_ = face(design.c_str(), points, FW_BOLD);
}

ControlSet::~ControlSet() {
  stop_timers();
  for (auto& b : built_) {
    // The model outlives the window: it must not keep pointers to our surfaces.
    if (b->surface) {
      model_of<PictureBox>(*b).attach(nullptr);
      if (b->hwnd && IsWindow(b->hwnd)) SetWindowLongPtrW(b->hwnd, GWLP_USERDATA, 0);
    }
    if (b->own_font) DeleteObject(b->own_font);
  }
  for (auto& [key, brush] : brushes_) DeleteObject(brush);
  for (HFONT f : {normal_font_, bold_font_})
    if (f) DeleteObject(f);
}

int ControlSet::px(double twips) const {
  return static_cast<int>(std::lround(twips / tpp_));
}

HBRUSH ControlSet::brush(Colour c) {
  auto& b = brushes_[key_of(c)];
  if (!b) b = CreateSolidBrush(colorref(c));
  return b;
}

HMENU ControlSet::popup(HWND owner, const std::string& title) {
  auto& menu = popups_[title];
  if (menu) return menu;
  HMENU bar = GetMenu(owner);
  if (!bar) {
    bar = CreateMenu();
    SetMenu(owner, bar);
  }
  menu = CreatePopupMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), shown(title).c_str());
  DrawMenuBar(owner);
  return menu;
}

void ControlSet::build(HWND parent) {
  for (auto& b : built_) {
    HWND container = parent;
    if (!b->c.container.empty() && b->c.kind != ControlKind::menu_item) {
      if (HWND w = window(b->c.container)) container = w;
    }
    b->adapter->make(*this, *b, container);
    if (b->child) by_window_[b->hwnd] = b.get();
  }
  // Tab follows the z-order of the window's own controls: the table's order,
  // from the top (they do not overlap; what sits on a picture keeps its order).
  HWND above = HWND_TOP;
  for (auto& b : built_) {
    if (!b->child || !b->c.container.empty()) continue;
    SetWindowPos(b->hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = b->hwnd;
  }
  sync();
}

void ControlSet::subclass(Built& b) {
  SetWindowSubclass(b.hwnd, subclass_proc, 1, reinterpret_cast<DWORD_PTR>(this));
}

ControlSet::Built* ControlSet::find(HWND w) const {
  auto found = by_window_.find(w);
  return found == by_window_.end() ? nullptr : found->second;
}

HWND ControlSet::window(const std::string& name) const {
  for (const auto& b : built_)
    if (b->c.name == name) return b->hwnd;
  return nullptr;
}

HWND ControlSet::first(ControlKind kind) const {
  for (const auto& b : built_)
    if (b->c.kind == kind) return b->hwnd;
  return nullptr;
}

int ControlSet::menu_id(const MenuItem& item) const {
  for (const auto& b : built_)
    if (auto* m = std::get_if<MenuItem*>(&b->c.model); m && *m == &item)
      return first_menu_id + static_cast<int>(b->row);
  return -1;
}

std::vector<ACCEL> ControlSet::accelerators() const {
  std::vector<ACCEL> keys;
  for (const auto& b : built_)
    if (b->c.kind == ControlKind::form)
      for (int code : b->c.keys)
        if (code >= 1 && code <= 26)
          keys.push_back({FCONTROL | FVIRTKEY, static_cast<WORD>('A' + code - 1),
                          static_cast<WORD>(first_key_id + code)});
  return keys;
}

void ControlSet::sync() {
  if (syncing_) return;
  syncing_ = true;
  for (auto& b : built_)
    if (b->hwnd) attempt_quietly([&] { b->adapter->mirror(*this, *b); });
  syncing_ = false;
}

void ControlSet::set_origin(POINT origin) {
  if (origin.x == origin_.x && origin.y == origin_.y) return;
  origin_ = origin;
  for (auto& b : built_)
    if (b->child && b->c.container.empty()) b->bounds = Bounds{-1, -1, -1, -1};
  sync();
}

void ControlSet::apply_font(Built& b, bool bold) {
  if (!b.c.font) return;
  auto wanted = b.c.font();
  if (wanted.name == b.font_shown.name && wanted.points == b.font_shown.points &&
      bold == b.font_bold)
    return;
  b.font_shown = wanted;
  b.font_bold = bold;
  int dpi = static_cast<int>(std::lround(1440.0 / tpp_));
  double points = wanted.points > 0 && wanted.points < 200 ? wanted.points : 10;
  HFONT next = CreateFontW(
      -static_cast<int>(std::lround(points * dpi / 72)), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE,
      FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, shown(wanted.name).substr(0, LF_FACESIZE - 1).c_str());
  if (!next) return;
  SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(next), TRUE);
  if (b.own_font) DeleteObject(b.own_font);
  b.own_font = next;
}

// ---- the user's acts ----------------------------------------------------------

void ControlSet::user(Built& b, UserEvent event, UserInput& input,
                      const std::function<void()>& write) {
  if (syncing_ || (!write && !b.c.hears(event))) return;
  const Control& c = b.c;
  ++b.events_handled;
  run_([&] {
    if (write) write();
    c.fire(event, input);
  });
}

bool ControlSet::command(HWND from, int code) {
  Built* b = find(from);
  if (!b) return false;
  // What the window does while it is brought up to date is no user's act.
  if (!syncing_) b->adapter->notify(*this, *b, code);
  return true;
}

bool ControlSet::menu_command(int id) {
  for (auto& b : built_) {
    if (b->c.kind == ControlKind::menu_item && id == first_menu_id + static_cast<int>(b->row)) {
      user(*b, UserEvent::click);
      return true;
    }
    if (b->c.kind == ControlKind::form)
      for (int code : b->c.keys)
        if (id == first_key_id + code) {
          UserInput in{code};
          user(*b, UserEvent::key_press, in);
          return true;
        }
  }
  return false;
}

bool ControlSet::timer(UINT_PTR id) {
  for (auto& b : built_)
    if (b->c.kind == ControlKind::timer && id == first_timer_id + b->row) {
      user(*b, UserEvent::click);
      return true;
    }
  return false;
}

void ControlSet::stop_timers() {
  for (auto& b : built_)
    if (b->c.kind == ControlKind::timer && b->timer_on) {
      if (IsWindow(b->hwnd)) KillTimer(b->hwnd, first_timer_id + b->row);
      b->timer_on = false;
    }
}

void ControlSet::mouse_move() {
  for (auto& b : built_)
    if (b->c.kind == ControlKind::form) user(*b, UserEvent::mouse_move);
}

bool ControlSet::scroll(HWND from, int code) {
  Built* b = find(from);
  if (!b || b->c.kind != ControlKind::scroll_bar) return false;
  if (syncing_) return true;
  const auto& bar = model_of<ScrollBar>(*b);
  int value = bar.value;
  switch (code) {
    case SB_LINEUP:
      value -= bar.small_change;
      break;
    case SB_LINEDOWN:
      value += bar.small_change;
      break;
    case SB_PAGEUP:
      value -= bar.large_change;
      break;
    case SB_PAGEDOWN:
      value += bar.large_change;
      break;
    case SB_TOP:
      value = 0;
      break;
    case SB_BOTTOM:
      value = bar.max;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(b->hwnd, SB_CTL, &info);
      value = info.nTrackPos;
      break;
    }
    default:
      return true;
  }
  move_scroll(*b, value);
  return true;
}

void ControlSet::move_scroll(Built& b, int value) {
  auto& bar = model_of<ScrollBar>(b);
  value = std::clamp(value, 0, std::max(0, bar.max));
  if (value == bar.value) return;
  user(b, UserEvent::changed, [&] {
    bar.value = value;
    b.value = value;
    SetScrollPos(b.hwnd, SB_CTL, value, TRUE);
  });
}

void ControlSet::wheel(const std::string& scroll_bar, int delta) {
  Built* b = find(window(scroll_bar));
  if (!b || syncing_ || b->c.kind != ControlKind::scroll_bar) return;
  const auto& bar = model_of<ScrollBar>(*b);
  if (!bar.enabled) return;
  move_scroll(*b, bar.after_wheel(-delta / WHEEL_DELTA));
}

HBRUSH ControlSet::colours(HDC dc, HWND w) {
  Built* b = find(w);
  if (!b) return nullptr;
  Colour fore = colours::black, back = colours::button_face;
  if (auto* m = std::get_if<CheckBox*>(&b->c.model))
    fore = (*m)->fore, back = (*m)->back;
  else if (auto* l = std::get_if<Label*>(&b->c.model))
    fore = (*l)->fore, back = (*l)->back;
  else if (auto* t = std::get_if<TextBox*>(&b->c.model))
    back = (*t)->back;
  else
    return nullptr;
  SetTextColor(dc, colorref(fore));
  SetBkColor(dc, colorref(back));
  return brush(back);
}

LRESULT CALLBACK ControlSet::subclass_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<ControlSet*>(data);
  Built* b = self->find(w);
  if (b && !self->syncing_) {
    if ((msg == WM_RBUTTONDOWN || msg == WM_LBUTTONDOWN) && b->c.hears(UserEvent::mouse_down)) {
      UserInput in;
      in.button = msg == WM_RBUTTONDOWN ? right_button : left_button;
      self->user(*b, UserEvent::mouse_down, in);
      if (msg == WM_RBUTTONDOWN) return 0;
    }
    if (msg == WM_GETDLGCODE) {
      LRESULT code = DefSubclassProc(w, msg, wp, lp);
      auto* key = reinterpret_cast<const MSG*>(lp);
      bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      // A box that hears keys hears Enter too, rather than the window's default button.
      if (enter && b->c.hears(UserEvent::key_press)) return code | DLGC_WANTALLKEYS;
      // Tab leaves a box of many lines: the program's texts hold no tabs.
      if (b->c.kind == ControlKind::multi_line_text) code &= ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
      return code;
    }
    if (msg == WM_CHAR && b->c.kind == ControlKind::text_box) {
      UserInput in{static_cast<int>(wp)};
      self->user(*b, UserEvent::key_press, in);
      if (in.key == 0) return 0;          // the key is dropped
      if (in.key == VK_RETURN) return 0;  // no beep: Enter has done its work
      wp = static_cast<WPARAM>(in.key);
    }
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, subclass_proc, 1);
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace zw::win32
