#pragma once
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/control_table.h"

class QMenuBar;
class QWidget;

namespace zw::qt {

// The widgets of one window, made from its table of controls: the build, the
// event wiring and the mirroring of the model all read the same table, and
// touch nothing else.
class ControlSet : public QObject {
 public:
  // The controls sit on `form` (and menu items in `menus`). In a placed set
  // every widget takes its model's position and size; otherwise the window's
  // layouts place them.
  ControlSet(AppState& s, Host& host, double twips_per_pixel, bool placed);

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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What a widget was last given where reading it back is not exact.
  struct Applied {
    std::vector<std::string> items;
    std::string text;
    bool has_text = false;
  };

  QObject* make(Control& c, QWidget* form, QMenuBar* menus);
  void wire(std::size_t row);
  void mirror(std::size_t row);
  // Runs a user's action on a control, then after_event.
  void fire(std::size_t row, const std::function<void()>& action);
  void handle(std::size_t row, const Action& action);
  std::size_t row_of(const QObject* object) const;

  AppState& s_;
  Host& host_;
  double tpp_;
  bool placed_;
  std::vector<Control> table_;
  std::vector<Applied> applied_;
  std::vector<int> handled_;
  std::size_t form_row_ = static_cast<std::size_t>(-1);
  bool syncing_ = false;
};

}  // namespace zw::qt
