#include "platform/win32/control_set.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "base/failure.h"
#include "platform/win32/wide_text.h"

namespace zw::win32 {
namespace {

COLORREF colorref(Colour c) { return RGB(c.r, c.g, c.b); }
std::uint32_t key_of(Colour c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

std::wstring window_text(HWND w) {
  int n = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(std::max(0, n)) + 1, L'\0');
  n = GetWindowTextW(w, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(0, n)));
  return text;
}

bool empty(const Bounds& b) { return b.width == 0 && b.height == 0; }
bool same(const Bounds& a, const Bounds& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

// What a picture window needs of its control: the picture, its colour beyond
// the picture, and where its mouse goes.
struct PictureLink {
  PictureBox* box = nullptr;
  GdiSurface* surface = nullptr;
  Colour back = colours::white;
  bool hand = false;
  std::function<void(UserEvent)> report;
};

LRESULT CALLBACK picture_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* link = reinterpret_cast<PictureLink*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT all;
      GetClientRect(w, &all);
      int iw = 0, ih = 0;
      if (link && link->surface) {
        iw = link->surface->pixel_width(), ih = link->surface->pixel_height();
        BitBlt(dc, 0, 0, iw, ih, link->surface->dc(), 0, 0, SRCCOPY);
      }
      HBRUSH back = CreateSolidBrush(link ? colorref(link->back) : RGB(255, 255, 255));
      RECT right{iw, 0, all.right, all.bottom}, below{0, ih, std::min<LONG>(iw, all.right), all.bottom};
      if (right.left < right.right) FillRect(dc, &right, back);
      if (below.top < below.bottom) FillRect(dc, &below, back);
      DeleteObject(back);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONUP: {
      RECT r;
      GetClientRect(w, &r);
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (link && link->report && PtInRect(&r, p)) link->report(UserEvent::click);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      if (link && link->report && !link->hand && link->box && link->surface) {
        double tpp = link->surface->twips_per_pixel();
        link->box->mouse_x = static_cast<short>(LOWORD(lp)) * tpp;
        link->box->mouse_y = static_cast<short>(HIWORD(lp)) * tpp;
        link->report(UserEvent::double_click);
      }
      return 0;
    case WM_MOUSEMOVE:
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

struct ControlSet::Built {
  Control c;
  HWND hwnd = nullptr;
  std::unique_ptr<GdiSurface> surface;
  PictureLink link;
  // What the window shows now, so that a sync touches only what changed.
  Bounds bounds{-1, -1, -1, -1};
  std::string text;
  bool text_known = false;
  std::vector<std::string> items;
  int value = -1, max = -1, large = -1;
  int visible = -1, enabled = -1, bold = -1;
  Colour fore, back;
  std::pair<std::string, double> font_shown{"", -1};
  HFONT own_font = nullptr;
};

ControlSet::ControlSet(std::vector<Control> table, double twips_per_pixel,
                       std::function<void(const std::function<void()>&)> run)
    : tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15), run_(std::move(run)) {
  for (auto& c : table) {
    auto b = std::make_unique<Built>();
    b->c = std::move(c);
    built_.push_back(std::move(b));
  }
  int dpi = static_cast<int>(std::lround(1440.0 / tpp_));
  auto face = [&](const wchar_t* name, int points, int weight) {
    return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, name);
  };
  normal_font_ = face(L"MS Shell Dlg", 8, FW_NORMAL);
  bold_font_ = face(L"MS Shell Dlg", 8, FW_BOLD);
  fixed_font_ = face(L"Courier New", 9, FW_NORMAL);
}

ControlSet::~ControlSet() {
  for (auto& b : built_) {
    // The model outlives the window: it must not keep pointers to our surfaces.
    if (auto* box = std::get_if<PictureBox*>(&b->c.model); box && *box && b->surface)
      (*box)->attach(nullptr);
    if (b->surface && b->hwnd && IsWindow(b->hwnd)) SetWindowLongPtrW(b->hwnd, GWLP_USERDATA, 0);
    if (b->own_font) DeleteObject(b->own_font);
  }
  for (auto& [key, brush] : brushes_) DeleteObject(brush);
  for (HFONT f : {normal_font_, bold_font_, fixed_font_})
    if (f) DeleteObject(f);
}

int ControlSet::px(double twips) const { return static_cast<int>(std::lround(twips / tpp_)); }

HBRUSH ControlSet::brush(Colour c) {
  auto& b = brushes_[key_of(c)];
  if (!b) b = CreateSolidBrush(colorref(c));
  return b;
}

void ControlSet::build(HWND parent) {
  register_picture_class();
  for (auto& b : built_) {
    HWND container = parent;
    if (!b->c.container.empty()) {
      if (HWND w = window(b->c.container)) container = w;
    }
    create(*b, container);
  }
  sync();
}

void ControlSet::create(Built& b, HWND parent) {
  const wchar_t* cls = L"STATIC";
  // Siblings may overlap (the canvas and its scroll bar): the one made later
  // lies on top, and each paints only where it is not covered.
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD ex = 0;
  switch (b.c.kind) {
    case ControlKind::check_box: cls = L"BUTTON", style |= BS_CHECKBOX | WS_TABSTOP; break;
    case ControlKind::push_button: cls = L"BUTTON", style |= BS_PUSHBUTTON | WS_TABSTOP; break;
    case ControlKind::label:
      style |= SS_NOTIFY | (b.c.centred ? SS_CENTER : SS_LEFT);
      break;
    case ControlKind::text_box:
      cls = L"EDIT", style |= ES_AUTOHSCROLL | WS_TABSTOP, ex = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::multi_line_text:
      cls = L"EDIT", ex = WS_EX_CLIENTEDGE;
      style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
      break;
    case ControlKind::combo_box:
    case ControlKind::editable_combo:
      cls = L"COMBOBOX", style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
      break;
    case ControlKind::list_box: cls = L"LISTBOX", style |= LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL, ex = WS_EX_CLIENTEDGE; break;
    case ControlKind::scroll_bar: cls = L"SCROLLBAR", style |= SBS_VERT; break;
    case ControlKind::picture:
    case ControlKind::flat_button:
      cls = picture_class, style |= WS_CLIPCHILDREN;
      break;
  }
  b.hwnd = CreateWindowExW(ex, cls, L"", style, 0, 0, 0, 0, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!b.hwnd) fail("Cannot create the control " + b.c.name);
  SetWindowPos(b.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  by_window_[b.hwnd] = &b;
  SendMessageW(b.hwnd, WM_SETFONT,
               reinterpret_cast<WPARAM>(b.c.kind == ControlKind::multi_line_text ? fixed_font_
                                        : b.c.bold_font                          ? bold_font_
                                                                                 : normal_font_),
               FALSE);

  if (b.c.kind == ControlKind::combo_box) {
    // The list is chosen from, not typed into; its text shows what the model says.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(b.hwnd, &info) && info.hwndItem)
      SendMessageW(info.hwndItem, EM_SETREADONLY, TRUE, 0);
  }
  if (b.c.kind == ControlKind::label || b.c.kind == ControlKind::text_box ||
      b.c.kind == ControlKind::multi_line_text)
    SetWindowSubclass(b.hwnd, subclass_proc, 1, reinterpret_cast<DWORD_PTR>(this));

  if (auto* box = std::get_if<PictureBox*>(&b.c.model); box && *box) {
    b.surface = std::make_unique<GdiSurface>(tpp_);
    (*box)->attach(b.surface.get());
    HWND w = b.hwnd;
    b.surface->on_change([w] { InvalidateRect(w, nullptr, FALSE); });
    b.link.box = *box;
    b.link.surface = b.surface.get();
    b.link.hand = b.c.kind == ControlKind::flat_button;
    Built* self = &b;
    b.link.report = [this, self](UserEvent e) {
      if (!syncing_ && self->c.on) user(*self, e);
    };
    SetWindowLongPtrW(b.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&b.link));
  }
}

HWND ControlSet::window(const std::string& name) const {
  for (const auto& b : built_)
    if (b->c.name == name) return b->hwnd;
  return nullptr;
}

POINT ControlSet::extent() const {
  POINT edge{0, 0};
  for (const auto& b : built_) {
    if (!b->hwnd || !b->c.container.empty() || b->surface || b->bounds.width < 0) continue;
    edge.x = std::max<LONG>(edge.x, px(b->bounds.left + b->bounds.width));
    edge.y = std::max<LONG>(edge.y, px(b->bounds.top + b->bounds.height));
  }
  return edge;
}

HWND ControlSet::first(ControlKind kind) const {
  for (const auto& b : built_)
    if (b->c.kind == kind) return b->hwnd;
  return nullptr;
}

const Control* ControlSet::control(HWND w) const {
  auto found = by_window_.find(w);
  return found == by_window_.end() ? nullptr : &found->second->c;
}

void ControlSet::sync() {
  if (syncing_) return;
  syncing_ = true;
  for (auto& b : built_)
    if (b->hwnd) attempt_quietly([&] { sync_one(*b); });
  syncing_ = false;
}

void ControlSet::apply_font(Built& b) {
  if (!b.c.font) return;
  auto wanted = b.c.font();
  if (wanted == b.font_shown) return;
  b.font_shown = wanted;
  int dpi = static_cast<int>(std::lround(1440.0 / tpp_));
  double points = wanted.second > 0 && wanted.second < 200 ? wanted.second : 10;
  HFONT next = CreateFontW(-static_cast<int>(std::lround(points * dpi / 72)), 0, 0, 0, FW_NORMAL,
                           FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           shown(wanted.first).substr(0, LF_FACESIZE - 1).c_str());
  if (!next) return;
  SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(next), TRUE);
  if (b.own_font) DeleteObject(b.own_font);
  b.own_font = next;
}

void ControlSet::sync_one(Built& b) {
  HWND w = b.hwnd;
  auto place = [&](Bounds bounds, int extra_height = 0) {
    if (!empty(b.c.place)) bounds = b.c.place;
    if (same(bounds, b.bounds)) return;
    b.bounds = bounds;
    MoveWindow(w, px(bounds.left), px(bounds.top), px(bounds.width),
               px(bounds.height) + extra_height, TRUE);
  };
  auto show = [&](bool visible) {
    if (b.visible == static_cast<int>(visible)) return;
    b.visible = visible;
    ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
  };
  auto enable = [&](bool enabled) {
    if (b.enabled == static_cast<int>(enabled)) return;
    b.enabled = enabled;
    EnableWindow(w, enabled);
  };
  auto caption = [&](const std::string& text) {
    if (b.text_known && b.text == text) return;
    b.text = text, b.text_known = true;
    SetWindowTextW(w, shown(text).c_str());
  };
  auto paint_colours = [&](Colour fore, Colour back) {
    if (b.fore == fore && b.back == back && b.bold >= 0) return;
    b.fore = fore, b.back = back;
    InvalidateRect(w, nullptr, TRUE);
  };
  auto bold = [&](bool on) {
    if (b.bold == static_cast<int>(on)) return;
    b.bold = on;
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(on || b.c.bold_font ? bold_font_ : normal_font_), TRUE);
  };
  auto list_items = [&](const std::vector<std::string>& items, UINT reset, UINT add) {
    if (items == b.items) return false;
    bool grew = items.size() > b.items.size() && std::equal(b.items.begin(), b.items.end(), items.begin());
    if (!grew) {
      SendMessageW(w, reset, 0, 0);
      b.items.clear();
    }
    for (std::size_t i = b.items.size(); i < items.size(); ++i)
      SendMessageW(w, add, 0, reinterpret_cast<LPARAM>(shown(items[i]).c_str()));
    b.items = items;
    return true;
  };

  std::visit(
      [&](auto m) {
        using V = decltype(m);
        if constexpr (std::is_same_v<V, std::monostate>) {
          place(Bounds{});
          show(true);
          return;
        } else {
        if (!m) return;
        using M = std::remove_pointer_t<V>;
        if constexpr (std::is_same_v<M, CheckBox>) {
          place(m->bounds);
          caption(m->caption);
          if (b.value != m->value) {
            b.value = m->value;
            SendMessageW(w, BM_SETCHECK, m->value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
          }
          enable(m->enabled);
          paint_colours(m->fore, m->back);
          show(m->visible);
        } else if constexpr (std::is_same_v<M, Label>) {
          place(m->bounds);
          caption(m->caption);
          bold(m->bold);
          apply_font(b);
          paint_colours(m->fore, m->back);
          show(m->visible);
        } else if constexpr (std::is_same_v<M, TextBox>) {
          place(m->bounds);
          caption(m->text);
          enable(m->enabled);
          paint_colours(colours::black, m->back);
          show(true);
          if (m->wants_focus) {
            SetFocus(w);
            m->wants_focus = false;
          }
        } else if constexpr (std::is_same_v<M, ComboBox>) {
          place(m->bounds, 200);
          apply_font(b);
          bool changed = list_items(m->items, CB_RESETCONTENT, CB_ADDSTRING);
          if (changed || !b.text_known || b.text != m->text) {
            // The shown text need not be one of the items ("No Styles").
            auto found = std::find(m->items.begin(), m->items.end(), m->text);
            SendMessageW(w, CB_SETCURSEL,
                         found == m->items.end() ? static_cast<WPARAM>(-1)
                                                 : static_cast<WPARAM>(found - m->items.begin()),
                         0);
            if (found == m->items.end()) SetWindowTextW(w, shown(m->text).c_str());
            b.text = m->text, b.text_known = true;
          }
          show(true);
        } else if constexpr (std::is_same_v<M, ListBox>) {
          place(m->bounds);
          list_items(m->items, LB_RESETCONTENT, LB_ADDSTRING);
          show(true);
        } else if constexpr (std::is_same_v<M, PictureBox>) {
          Bounds bounds{m->left, m->top, m->width(), m->height()};
          place(bounds);
          b.link.back = m->back;
          show(m->visible);
        } else if constexpr (std::is_same_v<M, Button>) {
          place(Bounds{});
          caption(m->caption);
          enable(m->enabled);
          show(m->visible);
        } else if constexpr (std::is_same_v<M, ScrollBar>) {
          place(m->bounds);
          int large = std::max(1, m->large_change), max = std::max(0, m->max);
          if (b.max != max || b.large != large || b.value != m->value) {
            b.max = max, b.large = large, b.value = m->value;
            // The page makes the thumb; the range then ends at max for the value.
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
            info.nMin = 0;
            info.nMax = max + large - 1;
            info.nPage = static_cast<UINT>(large);
            info.nPos = std::clamp(m->value, 0, max);
            SetScrollInfo(w, SB_CTL, &info, TRUE);
          }
          enable(m->enabled);
          show(true);
        }
        }
      },
      b.c.model);
}

// ---- the user's acts ----------------------------------------------------------

void ControlSet::user(Built& b, UserEvent e) {
  if (b.c.on) {
    auto& on = b.c.on;
    run_([&on, e] { on(e); });
  } else {
    run_({});
  }
}

bool ControlSet::command(HWND from, int code) {
  auto found = by_window_.find(from);
  if (found == by_window_.end()) return false;
  // What the window does while it is brought up to date is no user's act.
  if (syncing_) return true;
  Built& b = *found->second;
  switch (b.c.kind) {
    case ControlKind::check_box:
      if (code != BN_CLICKED) return true;
      if (auto* m = std::get_if<CheckBox*>(&b.c.model); m && *m) {
        (*m)->value = (*m)->value == 1 ? 0 : 1;
        b.value = -1;  // the button toggled itself only in the model
      }
      user(b, UserEvent::click);
      return true;
    case ControlKind::push_button:
      if (code == BN_CLICKED) user(b, UserEvent::click);
      return true;
    case ControlKind::label:
      if (code == STN_CLICKED) user(b, UserEvent::click);
      if (code == STN_DBLCLK) user(b, UserEvent::double_click);
      return true;
    case ControlKind::text_box:
    case ControlKind::multi_line_text:
      if (code != EN_CHANGE) return true;
      if (auto* m = std::get_if<TextBox*>(&b.c.model); m && *m) {
        (*m)->text = utf8(window_text(b.hwnd));
        b.text = (*m)->text, b.text_known = true;
      }
      if (b.c.on) user(b, UserEvent::changed);
      return true;
    case ControlKind::combo_box:
    case ControlKind::editable_combo: {
      auto* m = std::get_if<ComboBox*>(&b.c.model);
      if (!m || !*m) return true;
      ComboBox& combo = **m;
      if (code == CBN_SELCHANGE) {
        auto index = static_cast<long long>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0));
        if (index < 0) return true;
        attempt_quietly([&] { combo.text = bounded(combo.items, index, "list"); });
        b.text = combo.text, b.text_known = true;
        user(b, UserEvent::click);
      } else if (code == CBN_EDITCHANGE && b.c.kind == ControlKind::editable_combo) {
        combo.text = utf8(window_text(b.hwnd));
        b.text = combo.text, b.text_known = true;
        if (b.c.on) user(b, UserEvent::changed);
      }
      return true;
    }
    case ControlKind::list_box: {
      auto* m = std::get_if<ListBox*>(&b.c.model);
      if (code != LBN_DBLCLK || !m || !*m) return true;
      (*m)->index = static_cast<int>(SendMessageW(b.hwnd, LB_GETCURSEL, 0, 0));
      user(b, UserEvent::double_click);
      return true;
    }
    default:
      return true;
  }
}

void ControlSet::move_scroll(Built& b, int value) {
  auto* m = std::get_if<ScrollBar*>(&b.c.model);
  if (!m || !*m) return;
  ScrollBar& bar = **m;
  value = std::clamp(value, 0, std::max(0, bar.max));
  if (value == bar.value) return;
  bar.value = value;
  b.value = value;
  SetScrollPos(b.hwnd, SB_CTL, value, TRUE);
  user(b, UserEvent::changed);
}

bool ControlSet::scroll(HWND from, int code) {
  auto found = by_window_.find(from);
  if (found == by_window_.end() || found->second->c.kind != ControlKind::scroll_bar) return false;
  if (syncing_) return true;
  Built& b = *found->second;
  auto* m = std::get_if<ScrollBar*>(&b.c.model);
  if (!m || !*m) return true;
  const ScrollBar& bar = **m;
  int value = bar.value;
  switch (code) {
    case SB_LINEUP: value -= bar.small_change; break;
    case SB_LINEDOWN: value += bar.small_change; break;
    case SB_PAGEUP: value -= bar.large_change; break;
    case SB_PAGEDOWN: value += bar.large_change; break;
    case SB_TOP: value = 0; break;
    case SB_BOTTOM: value = bar.max; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(b.hwnd, SB_CTL, &info);
      value = info.nTrackPos;
      break;
    }
    default: return true;
  }
  move_scroll(b, value);
  return true;
}

void ControlSet::wheel(const std::string& scroll_bar, int delta) {
  auto found = by_window_.find(window(scroll_bar));
  if (found == by_window_.end() || syncing_) return;
  auto* m = std::get_if<ScrollBar*>(&found->second->c.model);
  if (!m || !*m || !(*m)->enabled) return;
  // Three steps a notch, as the system scrolls lists.
  move_scroll(*found->second, (*m)->value - delta / WHEEL_DELTA * 3 * (*m)->small_change);
}

HBRUSH ControlSet::colours(HDC dc, HWND w) {
  auto found = by_window_.find(w);
  if (found == by_window_.end()) return nullptr;
  const Built& b = *found->second;
  Colour fore = colours::black, back = colours::button_face;
  if (auto* m = std::get_if<CheckBox*>(&b.c.model); m && *m) fore = (*m)->fore, back = (*m)->back;
  else if (auto* l = std::get_if<Label*>(&b.c.model); l && *l) fore = (*l)->fore, back = (*l)->back;
  else if (auto* t = std::get_if<TextBox*>(&b.c.model); t && *t) back = (*t)->back;
  else return nullptr;
  SetTextColor(dc, colorref(fore));
  SetBkColor(dc, colorref(back));
  return brush(back);
}

LRESULT CALLBACK ControlSet::subclass_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<ControlSet*>(data);
  auto found = self->by_window_.find(w);
  if (found != self->by_window_.end() && !self->syncing_) {
    Built& b = *found->second;
    if (msg == WM_RBUTTONDOWN && b.c.kind == ControlKind::label) {
      self->user(b, UserEvent::right_down);
      return 0;
    }
    if (msg == WM_CHAR && b.c.kind == ControlKind::text_box) {
      int key = static_cast<int>(wp);
      if (b.c.key_filter) b.c.key_filter(key);
      if (key == 0) return 0;  // the key is dropped
      if (key == VK_RETURN) {
        self->user(b, UserEvent::enter);
        return 0;  // no beep: Enter has done its work
      }
      wp = static_cast<WPARAM>(key);
    }
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(w, subclass_proc, 1);
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace zw::win32
