#pragma once
#include <QLabel>
#include <QWidget>

#include "platform/controls.h"
#include "platform/qt/raster_surface.h"

namespace zw::qt {

// A picture box on screen, the chart panes and the flat buttons alike: it owns
// the picture box's drawing surface (attached to the model while the widget
// lives), shows the surface's retained image and reports the mouse.
class PictureView : public QWidget {
  Q_OBJECT
 public:
  PictureView(PictureBox& model, double twips_per_pixel, QWidget* parent);
  ~PictureView() override;

  // Repaints when something was drawn since the last call; what a sync calls,
  // so that a long drawing is not repainted at every stroke.
  void show_drawing();
  const RasterSurface& surface() const { return surface_; }
  // Takes the focus from Tab and a click, shows it, and is pressed by Enter or Space.
  void act_as_button();

 signals:
  void clicked();
  void mouse_moved();
  void double_clicked();  // the model holds where

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  PictureBox& model_;
  bool button_ = false;
  RasterSurface surface_;
  bool drawn_ = true;  // drawn on since it was last shown
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

}  // namespace zw::qt
