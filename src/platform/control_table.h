#pragma once
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "platform/controls.h"

namespace zw {

// What a control is on screen. Each binding has one adapter per kind.
enum class ControlKind {
  form,         // the window itself: caption, mouse moves, Ctrl keys
  flat_button,  // a picture box painted as a button, reporting the mouse
  picture,      // a picture box: chart panes and scratch
  check_box,
  label,
  text_box,  // one line
  multi_line_text,
  combo_box,       // chosen from, not typed into; its text need not be an item
  editable_combo,  // the same, with a text the user types
  list_box,
  scroll_bar,  // vertical
  timer,
  menu_item,  // "-" is a separator
  push_button,
};

constexpr const char* kind_name(ControlKind kind) {
  switch (kind) {
    case ControlKind::form:
      return "form";
    case ControlKind::flat_button:
      return "flat button";
    case ControlKind::picture:
      return "picture";
    case ControlKind::check_box:
      return "check box";
    case ControlKind::label:
      return "label";
    case ControlKind::text_box:
      return "text box";
    case ControlKind::multi_line_text:
      return "multi-line text box";
    case ControlKind::combo_box:
      return "combo box";
    case ControlKind::editable_combo:
      return "editable combo box";
    case ControlKind::list_box:
      return "list box";
    case ControlKind::scroll_bar:
      return "scroll bar";
    case ControlKind::timer:
      return "timer";
    case ControlKind::menu_item:
      return "menu item";
    case ControlKind::push_button:
      return "push button";
  }
  return "control";
}

// What the user did to a control. Before its handler runs, the binding has
// written the new value into the model (a tick, a chosen item, a typed text,
// the scroll position, the list line double-clicked).
enum class UserEvent {
  click,  // clicked, ticked, chosen, timer tick, menu item picked
  double_click,
  mouse_down,  // any button; UserInput::button says which
  mouse_move,
  key_press,  // a character typed; UserInput::key
  changed,    // scrolled
};

// Character codes as the handlers hear them.
enum KeyCode : int { key_enter = 13, key_ctrl_r = 18 };
enum MouseButton : int { left_button = 1, right_button = 2, middle_button = 4 };

// What comes with an event: the key typed (a handler sets it to 0 to drop the
// key) or the mouse button pressed.
struct UserInput {
  int key = 0;
  int button = left_button;
};
using Handler = std::function<void(UserInput&)>;

struct EventHandler {
  UserEvent event;
  Handler run;
};

// The model member a control shows and writes: the caption for the form,
// else the control's plain-data struct.
using ControlModel = std::variant<std::string*, PictureBox*, CheckBox*, Label*, TextBox*, ComboBox*,
                                  ListBox*, ScrollBar*, Timer*, MenuItem*, Button*>;

// A face by name and size in points.
struct FontChoice {
  std::string name;
  double points = 0;
};

// One control of a window: its name, kind and model member, where it sits,
// and the handlers its events run.
struct Control {
  std::string name;  // the window's own name: "Check1(3)", "mf(6)"
  ControlKind kind = ControlKind::label;
  ControlModel model;
  std::string container{};  // the control it sits on ("" for the form); a menu item's menu
  std::vector<EventHandler> on{};
  bool centred = false;                // a label's caption is centred
  std::function<FontChoice()> font{};  // when not the window's face
  std::vector<int> keys{};             // the form: Ctrl keys heard anywhere in the window

  bool hears(UserEvent event) const {
    for (const auto& h : on)
      if (h.event == event && h.run) return true;
    return false;
  }
  // Runs the event's handler; false when the control has none.
  bool fire(UserEvent event, UserInput& input) const {
    for (const auto& h : on)
      if (h.event == event && h.run) {
        h.run(input);
        return true;
      }
    return false;
  }
};

// A window or dialog: its controls (a container before what sits on it), and
// for a dialog its client size and the steps its opening and closing run.
struct WindowTable {
  std::vector<Control> controls;
  int width = 0, height = 0;      // client area, twips, where a binding places controls itself
  std::function<void()> load{};   // the window opens
  const bool* closing = nullptr;  // the logic asks the dialog to close
  std::function<void()> frame_close{};  // closed by its frame: nothing applied
};

}  // namespace zw
