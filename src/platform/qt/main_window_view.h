#pragma once
#include <QLabel>
#include <QMainWindow>
#include <QSize>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/state.h"
#include "platform/host.h"
#include "platform/qt/raster_surface.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QScrollBar;
class QTimer;

namespace zw::qt {

// A picture box on screen: shows its surface's retained image and reports the
// mouse (click and move) for the flat buttons.
class SurfaceView : public QWidget {
  Q_OBJECT
 public:
  SurfaceView(const RasterSurface& surface, QWidget* parent);

 signals:
  void clicked();
  void mouse_moved();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  const RasterSurface& surface_;
};

// A label that reports clicks, double-clicks and which button went down.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();
  void double_clicked();
  void pressed(int button);  // 1 left, 2 right, 4 middle

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// The main window's widgets, mirroring the controls of AppState::f1. A widget
// event writes the model and calls the handler the other front ends call; then
// every widget is brought up to date from the model.
class MainWindowView : public QMainWindow {
  Q_OBJECT
 public:
  MainWindowView(AppState& s, Host& host, double twips_per_pixel);
  ~MainWindowView() override;

  // Brings every widget up to date from the model, with their signals blocked.
  void sync();
  // The activation steps, then the widgets.
  void activate();
  double twips_per_pixel() const { return tpp_; }
  // The model this window mirrors (the program's dialogs work on it too).
  AppState& state() { return s_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs a handler (a failure inside it is ignored), then syncs.
  void run(const std::function<void()>& handler);
  void build_widgets();
  void build_menus();
  QCheckBox* make_check(CheckBox& model, const QString& name,
                        std::function<void()> released);
  void sync_window_size();
  int px(double twips) const;

  AppState& s_;
  Host& host_;
  double tpp_;

  // Surfaces of the picture boxes: the flat buttons and p1..p4.
  RasterSurface com1_surface_, command2_surface_, p1_surface_, p2_surface_, p3_surface_,
      p4_surface_;

  QWidget* form_ = nullptr;  // the client area
  SurfaceView *com1_ = nullptr, *command2_ = nullptr;
  SurfaceView *p1_ = nullptr, *p2_ = nullptr, *p3_ = nullptr, *p4_ = nullptr;
  QComboBox *combo2_ = nullptr, *combo1_ = nullptr;
  std::array<QCheckBox*, 3> check3_{};
  std::array<QCheckBox*, category_boxes> check1_{};
  QCheckBox *check2_ = nullptr, *check4_ = nullptr, *inc_ = nullptr, *ovw_ = nullptr,
            *shtxt_ = nullptr, *label2_ = nullptr;
  QLineEdit* text2_ = nullptr;
  QPlainTextEdit* text3_ = nullptr;
  std::array<ClickLabel*, scale_labels> label3_{};
  ClickLabel *label4_ = nullptr, *label5_ = nullptr, *label6_ = nullptr, *label1_ = nullptr;
  QListWidget* list1_ = nullptr;
  QScrollBar* vs_ = nullptr;
  QTimer* tm1_ = nullptr;
  std::vector<QAction*> mf_actions_;
  QAction *mfnt_action_ = nullptr, *mhl_action_ = nullptr;
  std::vector<QAction*> mtls_actions_;

  // What the widgets were last given, so that a sync touches only what changed.
  std::vector<std::string> combo1_items_, combo2_items_, list1_items_;
  std::string text3_applied_;
  QSize applied_size_;  // the window size in twips last taken from the model
  bool activated_once_ = false;
  bool syncing_ = false;
};

}  // namespace zw::qt
