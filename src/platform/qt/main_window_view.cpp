#include "platform/qt/main_window_view.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "base/failure.h"
#include "app/follow_files.h"
#include "app/main_window.h"
#include "app/window_tables.h"
#include "platform/qt/twips.h"

namespace zw::qt {

MainWindowView::MainWindowView(AppState& s, Host& host, double twips_per_pixel)
    : s_(s),
      host_(host),
      tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15.0),
      controls_(tpp_, true) {
  // On a screen smaller than the window's least size, the controls scroll
  // rather than fall off the window.
  auto* area = new QScrollArea(this);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setFocusPolicy(Qt::NoFocus);  // Tab goes from control to control
  form_ = new QWidget(area);
  area->setWidget(form_);
  setCentralWidget(area);
  controls_.build(main_window_table(s_, host_).controls, form_, menuBar());
  controls_.after_event = [this] { sync(); };
  style_widgets();
  sync();
  // A followed file saved elsewhere reaches the logic as the window's own events do.
  host_.file_watch().changed = [this](const std::string& path) {
    attempt_quietly([&] { file_changed(s_, host_, path); });
    sync();
  };
}

MainWindowView::~MainWindowView() {
  host_.file_watch().changed = nullptr;
  host_.file_watch().watch({});
}

int MainWindowView::px(double twips) const {
  return to_pixels(twips, tpp_);
}

// What the design gives the window beyond its controls' models.
void MainWindowView::style_widgets() {
  form_->setAutoFillBackground(true);
  QPalette back = form_->palette();
  back.setColor(QPalette::Window,
                QColor(colours::button_face.r, colours::button_face.g, colours::button_face.b));
  back.setColor(QPalette::WindowText, Qt::black);
  form_->setPalette(back);
  // The design sizes were made for a small sans-serif face.
  QFont face(control_font);
  face.setPointSizeF(control_font_points);
  form_->setFont(face);
  // The wheel over the chart turns its scroll bar.
  for (const char* pane : {"p1", "p2"})
    if (auto* w = controls_.widget(pane)) w->installEventFilter(this);
}

// The screen's work area, frame and caption included; empty when unknown.
QSize MainWindowView::work_area() const {
  auto* shown_on = screen();
  return shown_on ? shown_on->availableGeometry().size() : QSize();
}

// The window cannot shrink below its controls: every one stays on it, and a
// few chart rows stay visible below the scale strip. A screen too small for
// that makes the controls scroll.
void MainWindowView::set_minimum_size() {
  const auto& f = s_.f1;
  QSize least(px(f.min_client_width()), px(f.min_client_height()));
  if (form_->minimumSize() != least) form_->setMinimumSize(least);
  least.rheight() += menuBar()->sizeHint().height();
  QSize area = work_area();
  if (area.isValid()) least = least.boundedTo(area - frame_size());
  if (minimumSize() != least) setMinimumSize(least);
}

// What the frame and caption add to the client area.
QSize MainWindowView::frame_size() const {
  return frameGeometry().size() - geometry().size();
}

void MainWindowView::run(void (*handler)(AppState&, Host&)) {
  attempt_quietly([&] { handler(s_, host_); });
  sync();
}

void MainWindowView::sync_window_size() {
  auto& f = s_.f1;
  QSize model(f.width, f.height);
  if (model == applied_size_ || f.width <= 0 || f.height <= 0) return;
  applied_size_ = model;
  // The model's size is the outer one, frame and caption included; the window
  // asks for no more than the screen's work area.
  QSize outer(px(f.width), px(f.height));
  QSize area = work_area();
  if (area.isValid()) outer = outer.boundedTo(area);
  QSize frame = frame_size();
  resize(std::max(1, outer.width() - frame.width()), std::max(1, outer.height() - frame.height()));
}

void MainWindowView::sync() {
  if (controls_.syncing()) return;
  controls_.sync();
  set_minimum_size();
  sync_window_size();
  since_sync_.start();
}

void MainWindowView::sync_if_due() {
  if (!since_sync_.isValid() || since_sync_.elapsed() >= sync_interval_ms) sync();
}

void MainWindowView::activate() {
  run(Form_Activate);
}

void MainWindowView::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  auto& f = s_.f1;
  QSize outer = frameGeometry().size();
  f.width = to_twips(outer.width(), tpp_);
  f.height = to_twips(outer.height(), tpp_);
  applied_size_ = QSize(f.width, f.height);
  if (controls_.syncing())
    QTimer::singleShot(0, this, [this] { run(Form_Resize); });
  else
    run(Form_Resize);
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  run(Form_QueryUnload);
  event->accept();
}

void MainWindowView::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (activated_once_) return;
  activated_once_ = true;
  // First activation once the window is on screen, as the program's own event;
  // the frame is known by then, and the window is fitted to the work area with it.
  QTimer::singleShot(0, this, [this] {
    applied_size_ = QSize();
    sync_window_size();
    activate();
  });
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    if (auto* bar = qobject_cast<QScrollBar*>(controls_.widget("vs"))) {
      // Whole notches, the rest kept for the next turn (a touchpad's small steps).
      wheel_rest_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
      int notches = wheel_rest_ / 120;
      wheel_rest_ -= notches * 120;
      if (notches != 0 && bar->isEnabled()) bar->setValue(s_.f1.vs.after_wheel(-notches));
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace zw::qt
