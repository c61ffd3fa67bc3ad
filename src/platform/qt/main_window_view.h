#pragma once
#include <QElapsedTimer>
#include <QMainWindow>
#include <QSize>

#include "model/state.h"
#include "platform/host.h"
#include "platform/qt/control_set.h"

namespace zw::qt {

// The main window: its controls are made, wired and mirrored from the main
// window's table of controls. A widget event writes the model and calls the
// handler the other front ends call; then the widgets show the model again.
class MainWindowView : public QMainWindow {
 public:
  MainWindowView(AppState& s, Host& host, double twips_per_pixel);
  ~MainWindowView() override;

  // Brings every widget up to date from the model.
  void sync();
  // What letting pending window events run shows: a sync, unless the last one
  // was less than a moment ago (long loops let events run thousands of times).
  void sync_if_due();
  // The activation steps, then the widgets.
  void activate();
  double twips_per_pixel() const { return tpp_; }
  // The model this window mirrors (the program's dialogs work on it too).
  AppState& state() { return s_; }
  const ControlSet& controls() const { return controls_; }

  // The gap between two syncs while a long loop lets events run.
  static constexpr int sync_interval_ms = 50;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void style_widgets();
  void set_minimum_size();
  QSize work_area() const;
  QSize frame_size() const;
  void sync_window_size();
  void run(void (*handler)(AppState&, Host&));
  int px(double twips) const;

  AppState& s_;
  Host& host_;
  double tpp_;
  ControlSet controls_;
  QWidget* form_ = nullptr;  // the client area
  QSize applied_size_;       // the window size in twips last taken from the model
  QElapsedTimer since_sync_;
  bool activated_once_ = false;
  int wheel_rest_ = 0;  // eighths of a degree the wheel turned short of a notch
};

}  // namespace zw::qt
