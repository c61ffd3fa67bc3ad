#pragma once
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "model/state.h"
#include "platform/host.h"

class QObject;

namespace zw::qt {

// What kind of widget shows a control.
enum class Widget {
  form,            // the window itself: caption, mouse moves, Ctrl keys
  flat_button,     // a picture box painted as a button
  picture,         // a picture box: chart panes and scratch
  check,           // check box
  label,
  line_edit,       // one-line text box
  text_box,        // multi-line text box
  combo,           // drop-down list: the text is one of the items
  editable_combo,  // drop-down combo: any text may be typed
  list,            // list box
  scroll_bar,      // vertical scroll bar
  timer,
  menu_item,       // "-" is a separator
  button,          // push button
};

// The model member a control shows and writes: the window's caption for the
// form, else the control's plain-data struct.
using Model = std::variant<std::string*, PictureBox*, CheckBox*, Label*, TextBox*, ComboBox*,
                           ListBox*, ScrollBar*, Timer*, MenuItem*, Button*>;

using Action = std::function<void(AppState&, Host&)>;
using MouseDown = std::function<void(AppState&, Host&, int button)>;  // 1 left, 2 right, 4 middle
// A key typed, as a character code (Enter 13, Ctrl+R 18); setting it to 0 drops it.
using KeyPress = std::function<void(AppState&, Host&, int& key)>;

// One control of a window: its name, widget and model member, and the handlers
// its events run. Before a handler runs, the binding writes what the user did
// into the model (a tick, a chosen item, a typed text, the scroll position).
struct Control {
  std::string name;    // the window's own name: "Check1(3)", "mf(6)"
  Widget widget = Widget::label;
  Model model;
  std::string parent;  // the control it sits on ("" for the form), or its menu's caption
  Action act;          // clicked, ticked, chosen, scrolled, timer tick, menu item picked
  Action move;         // the mouse moved over it
  Action double_click;
  MouseDown mouse_down;
  KeyPress key_press;
  std::vector<int> keys;  // on the form: the Ctrl keys it hears anywhere in the window (Ctrl+R 18)
  QObject* object = nullptr;  // the widget, once built
};

// The tables: every control of a window, in the order they are built (a
// parent before what sits on it).
std::vector<Control> main_window_controls(AppState& s);
std::vector<Control> font_dialog_controls(AppState& s);
std::vector<Control> about_box_controls(AppState& s);
std::vector<Control> convert_dialog_controls(AppState& s);
std::vector<Control> typ_check_dialog_controls(AppState& s);

}  // namespace zw::qt
