#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/state.h"
#include "platform/control_table.h"
#include "platform/host.h"
#include "platform/surface.h"

namespace zw::walk {

// A user's hand in one of the program's dialogs while it is open, by the
// names of its controls.
class DialogHand {
 public:
  virtual ~DialogHand() = default;
  virtual void set_text(const std::string& name, const std::string& text) = 0;  // cleared, typed
  virtual void choose(const std::string& list, const std::string& item) = 0;
  virtual void click(const std::string& name) = 0;  // a button, a flat button or a label
  virtual void hover(const std::string& name) = 0;
  virtual void double_click_line(const std::string& list, int line) = 0;
  virtual std::string text(const std::string& name) = 0;
  virtual std::vector<std::string> lines(const std::string& list) = 0;
};

// A binding's own host on a machine without a browser or an editor: what the
// program tries to open is noted, and it hears that it cannot.
template <class BindingHost>
class HostWithoutDesktop : public BindingHost {
 public:
  bool shell_open(const std::string& target) override {
    opened.push_back(target);
    return false;
  }
  bool edit_text_file(const std::string& path, int line) override {
    return shell_open(line > 0 ? path + ":" + std::to_string(line) : path);
  }
  std::vector<std::string> opened;
};

// What the user saw of a modal window the walk answered.
struct ModalSeen {
  std::string title;
  std::string text;       // a message box's text
  Answer default_answer;  // a message box's button that Enter presses
  std::string folder;     // a file dialog's folder
};

// One binding's real window, driven as a user drives it: mouse and keys on
// its controls (by their names in the window's table), and the modal windows
// answered in the order the walk expects them. An unexpected modal window is
// closed and noted, so a walk never hangs.
class WindowDriver {
 public:
  virtual ~WindowDriver() = default;

  // The program as its main() starts it, until its first activation is done.
  // `folders` finds its folders; by default app_dir is the program folder.
  virtual void start(const std::string& app_dir, const std::string& command_line,
                     const std::function<void(AppState&)>& folders = {}) = 0;
  // Closed by its frame, as a user closes it.
  virtual void close() = 0;
  virtual bool shown() = 0;
  virtual AppState& state() = 0;
  virtual FileSystem& fs() = 0;
  // Targets the program tried to open in the browser or the editor (this
  // machine has neither, so each also says it cannot open them).
  virtual const std::vector<std::string>& opened() = 0;
  // A path as this binding's file dialogs and messages write it.
  virtual std::string native(const std::string& path) = 0;

  // The user's acts on the main window.
  virtual void click(const std::string& name) = 0;  // any control that takes a click
  virtual void right_click(const std::string& name) = 0;
  virtual void double_click(const std::string& name, int x, int y) = 0;
  virtual void hover(const std::string& name) = 0;  // the mouse moves over it
  virtual void choose(const std::string& list, const std::string& item) = 0;
  virtual void type(const std::string& name, const std::string& text) = 0;
  virtual void press_enter(const std::string& name) = 0;
  virtual void menu(const MenuItem& item) = 0;
  virtual void ctrl_r() = 0;
  virtual void wheel_notch_down(const std::string& name) = 0;
  virtual void scroll_line_down() = 0;  // the scroll bar's arrow
  virtual void scroll_to_top() = 0;
  // The window's outer size, in pixels, as a user drags it; the chart is laid
  // out again before this returns.
  virtual void resize(int width, int height) = 0;

  // What the window shows.
  virtual std::string text(const std::string& name) = 0;  // the form's name gives the caption
  virtual bool ticked(const std::string& name) = 0;
  virtual bool enabled(const std::string& name) = 0;
  virtual int items(const std::string& list) = 0;
  virtual bool inside_window(const std::string& name) = 0;
  virtual int width(const std::string& name) = 0;  // pixels; the form's name gives the client
  virtual Image canvas() = 0;                      // the chart pane as drawn
  virtual std::string chart_font() = 0;            // "face pixels"
  virtual bool busy_cursor() = 0;
  // The keyboard: the controls Tab stops at, in the window's order; the
  // controls the focus visits from `first` on, one a press of Tab.
  virtual std::vector<std::string> tab_stops() = 0;
  virtual std::vector<std::string> tab_round(const std::string& first, std::size_t presses) = 0;
  virtual void focus_and_press_enter(const std::string& name) = 0;
  virtual bool read_only(const std::string& name) = 0;
  // A label's caption as painted: bold, whole on one line, and painted now
  // (not waiting for the loop to come round to it).
  virtual bool bold(const std::string& name) = 0;
  virtual bool caption_fits(const std::string& name) = 0;
  virtual bool painted(const std::string& name) = 0;
  // The window asked for (the model's size, twips) no larger than the work area.
  virtual bool within_work_area_when_asked_for(int width, int height) = 0;
  // On a screen smaller than the window's least size, the control can be
  // scrolled into reach; the screen is as it was afterwards.
  virtual bool reachable_on_a_small_screen(const std::string& name) = 0;
  // Lets the window's events run until done() holds, or a few seconds pass.
  virtual bool wait_until(const std::function<bool()>& done) = 0;
  // Every control of the main window, with how many times the user's acts
  // reached its handlers in this run.
  virtual std::vector<std::pair<const Control*, int>> events_reached() = 0;

  // The modal windows expected next, in order.
  virtual void expect_message(const std::string& text, Answer answer = Answer::ok) = 0;
  // A message whose text the walk checks itself (seen().back().text).
  virtual void expect_any_message(Answer answer = Answer::ok) = 0;
  // A file or folder dialog in which the user types this path.
  virtual void expect_file(const std::string& path) = 0;
  // One of the program's dialogs, by its name, in which the user does this.
  virtual void expect_dialog(const std::string& name, std::function<void(DialogHand&)> acts) = 0;
  // Expected windows that have not come up.
  virtual std::size_t waiting() = 0;
  virtual std::vector<std::string> unexpected() = 0;
  virtual const std::vector<ModalSeen>& seen() = 0;
};

}  // namespace zw::walk
