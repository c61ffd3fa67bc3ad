#include "platform/qt/main_window_view.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>
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
  form_ = new QWidget(this);
  setCentralWidget(form_);
  controls_.build(main_window_table(s_, host_).controls, form_, menuBar());
  controls_.after_event = [this] { sync(); };
  style_widgets();
  sync();
  set_minimum_size();
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

// The window cannot shrink below its controls: every one stays reachable, and
// a few chart rows stay visible below the scale strip.
void MainWindowView::set_minimum_size() {
  int right = 0, bottom = 0;
  for (const auto& c : controls_.table()) {
    auto* w = controls_.widget(c.name);
    if (!w || w == form_ || !c.container.empty() || c.kind == ControlKind::picture) continue;
    right = std::max(right, w->geometry().right() + 1);
    bottom = std::max(bottom, w->geometry().bottom() + 1);
  }
  setMinimumSize(right + px(MainWindow::edge_margin),
                 menuBar()->sizeHint().height() + bottom +
                     px(s_.f1.p3.height() + MainWindow::min_chart_rows + MainWindow::chart_margin));
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
  // The model's size is the outer one, frame and caption included.
  QSize frame = frameGeometry().size() - geometry().size();
  resize(std::max(1, px(f.width) - frame.width()), std::max(1, px(f.height) - frame.height()));
}

void MainWindowView::sync() {
  if (controls_.syncing()) return;
  controls_.sync();
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
  // First activation once the window is on screen, as the program's own event.
  QTimer::singleShot(0, this, [this] { activate(); });
}

bool MainWindowView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    if (auto* bar = controls_.widget("vs")) {
      QCoreApplication::sendEvent(bar, event);
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace zw::qt
