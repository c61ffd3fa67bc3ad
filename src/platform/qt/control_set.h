#pragma once
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "platform/control_table.h"

class QMenuBar;
class QWidget;

namespace zw::qt {

class KindAdapter;

// The widgets of one window, made from its table of controls. Each control
// kind has one adapter that makes its widget, wires the widget's signals to
// the table's handlers and mirrors the model into it.
class ControlSet : public QObject {
 public:
  // In a placed set every widget takes its model's position and size;
  // otherwise the window's layouts place them.
  ControlSet(double twips_per_pixel, bool placed);
  ~ControlSet() override;

  // The controls sit on `form` (and menu items in `menus`).
  void build(std::vector<Control> table, QWidget* form, QMenuBar* menus = nullptr);
  // Brings every widget up to date from its model, each with its own signals
  // blocked while it is set.
  void sync();

  // Runs after every handler: by default the sync; a dialog also closes
  // itself when its logic asked for that.
  std::function<void()> after_event;

  QWidget* widget(const std::string& name) const;
  const std::vector<Control>& table() const { return table_; }
  // How many times the user's actions reached each control's handlers.
  const std::vector<int>& events_handled() const { return handled_; }
  bool syncing() const { return syncing_; }

  // For the adapters.
  struct Row {
    Control* control;
    QObject* object;
    // What the widget was last given where reading it back is not exact.
    std::vector<std::string>& items;
    std::string& text;
    bool& has_text;
  };
  Row row(std::size_t i);
  double twips_per_pixel() const { return tpp_; }
  bool placed() const { return placed_; }
  // A user's act on a control: the model written, then the event's handler,
  // then after_event. Nothing runs while the widgets are being synced, nor
  // for an event the control has no handler for and no value to write.
  void user(std::size_t row, UserEvent event, UserInput& input,
            const std::function<void()>& write = {});
  void user(std::size_t row, UserEvent event, const std::function<void()>& write = {}) {
    UserInput input;
    user(row, event, input, write);
  }
  // Key presses and the form's mouse moves come through the event filter.
  void filter_events(QObject* object) { object->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Applied {
    std::vector<std::string> items;
    std::string text;
    bool has_text = false;
  };
  std::size_t row_of(const QObject* object) const;

  double tpp_;
  bool placed_;
  std::vector<Control> table_;
  std::vector<QObject*> objects_;
  std::vector<const KindAdapter*> adapters_;
  std::vector<Applied> applied_;
  std::vector<int> handled_;
  bool syncing_ = false;
};

}  // namespace zw::qt
