#include "platform/qt/control_widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace zw::qt {

PictureView::PictureView(PictureBox& model, double twips_per_pixel, QWidget* parent)
    : QWidget(parent), model_(model), surface_(twips_per_pixel) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  model_.attach(&surface_);
  surface_.on_change([this] { drawn_ = true; });
}

// The model outlives the widget: it must not keep a pointer to our surface.
PictureView::~PictureView() {
  model_.attach(nullptr);
}

void PictureView::show_drawing() {
  if (!drawn_) return;
  drawn_ = false;
  update();
}

void PictureView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const auto& image = surface_.qimage();
  QRect exposed = event->rect();
  p.fillRect(exposed, palette().color(QPalette::Window));
  // A tall picture holds only a band of itself, from its first pixel row on.
  int band = surface_.band_top_pixels();
  QRect shown = exposed.intersected(QRect(0, band, image.width(), image.height()));
  if (!image.isNull() && !shown.isEmpty())
    p.drawImage(shown.topLeft(), image, shown.translated(0, -band));
  if (button_ && hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
  }
}

void PictureView::act_as_button() {
  button_ = true;
  setFocusPolicy(Qt::StrongFocus);
}

void PictureView::keyPressEvent(QKeyEvent* event) {
  bool press = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
               event->key() == Qt::Key_Space;
  if (!button_ || !press) return QWidget::keyPressEvent(event);
  event->accept();
  emit clicked();
}

void PictureView::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void PictureView::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
  emit mouse_moved();
  event->accept();
}

void PictureView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  double tpp = surface_.twips_per_pixel();
  model_.mouse_x = event->position().x() * tpp;
  model_.mouse_y = event->position().y() * tpp;
  emit double_clicked();
}

namespace {

int button_code(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  emit pressed(button_code(event->button()));
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit double_clicked();
}

}  // namespace zw::qt
