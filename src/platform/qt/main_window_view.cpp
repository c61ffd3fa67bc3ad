#include "platform/qt/main_window_view.h"

#include "app/menus.h"
#include "convert/convert_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "analysis/analysis.h"
#include "app/failure.h"
#include "app/main_window.h"
#include "chart/chart.h"
#include "levels/categories.h"
#include "platform/qt/raster_text.h"
#include "platform/qt/twips.h"

namespace zw::qt {

// ---- small widgets -------------------------------------------------------------

SurfaceView::SurfaceView(const RasterSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceView::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const auto& image = surface_.qimage();
  QRect exposed = event->rect();
  p.fillRect(exposed, palette().color(QPalette::Window));
  if (!image.isNull()) p.drawImage(exposed.topLeft(), image, exposed);
}

void SurfaceView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

void SurfaceView::mouseMoveEvent(QMouseEvent* event) {
  emit mouse_moved();
  event->accept();
}

namespace {

int button_code(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

}  // namespace

void ClickLabel::mousePressEvent(QMouseEvent* event) { emit pressed(button_code(event->button())); }

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit double_clicked();
}

// ---- mirroring the model -------------------------------------------------------

namespace {

QColor to_qcolor(Colour c) { return QColor(c.r, c.g, c.b); }

void set_geometry(QWidget* w, const QRect& r) {
  if (w->geometry() != r) w->setGeometry(r);
}

void set_visible(QWidget* w, bool visible) {
  if (w->isVisibleTo(w->parentWidget()) != visible) w->setVisible(visible);
}

void set_colours(QWidget* w, QPalette::ColorRole fore_role, Colour fore,
                 QPalette::ColorRole back_role, Colour back) {
  QPalette p = w->palette();
  if (p.color(fore_role) == to_qcolor(fore) && p.color(back_role) == to_qcolor(back)) return;
  p.setColor(fore_role, to_qcolor(fore));
  p.setColor(back_role, to_qcolor(back));
  w->setPalette(p);
}

void sync_check(QCheckBox* w, const CheckBox& m, double tpp) {
  set_geometry(w, to_pixels(m.bounds, tpp));
  auto caption = to_qstring(m.caption);
  if (w->text() != caption) w->setText(caption);
  if (w->isChecked() != (m.value == 1)) w->setChecked(m.value == 1);
  if (w->isEnabled() != m.enabled) w->setEnabled(m.enabled);
  set_colours(w, QPalette::WindowText, m.fore, QPalette::Window, m.back);
  set_visible(w, m.visible);
}

void sync_label(QLabel* w, const Label& m, double tpp) {
  set_geometry(w, to_pixels(m.bounds, tpp));
  auto caption = to_qstring(m.caption);
  if (w->text() != caption) w->setText(caption);
  if (w->font().bold() != m.bold) {
    QFont f = w->font();
    f.setBold(m.bold);
    w->setFont(f);
  }
  set_colours(w, QPalette::WindowText, m.fore, QPalette::Window, m.back);
  set_visible(w, m.visible);
}

void sync_picture(SurfaceView* w, const PictureBox& m, double tpp) {
  set_geometry(w, QRect(to_pixels(m.left, tpp), to_pixels(m.top, tpp), to_pixels(m.width(), tpp),
                        to_pixels(m.height(), tpp)));
  set_colours(w, QPalette::WindowText, colours::black, QPalette::Window, m.back);
  set_visible(w, m.visible);
  w->update();  // the drawing is retained in the surface; show what it holds now
}

// Brings a list widget's items up to date, appending when the model only grew
// (the font list grows one name at a time).
template <class Widget>
void sync_items(Widget* w, const std::vector<std::string>& items, std::vector<std::string>& applied) {
  if (items == applied) return;
  bool grew = items.size() > applied.size() &&
              std::equal(applied.begin(), applied.end(), items.begin());
  if (!grew) {
    w->clear();
    applied.clear();
  }
  for (std::size_t i = applied.size(); i < items.size(); ++i) w->addItem(to_qstring(items[i]));
  applied = items;
}

void sync_combo(QComboBox* w, const ComboBox& m, std::vector<std::string>& applied, double tpp) {
  set_geometry(w, to_pixels(m.bounds, tpp));
  sync_items(w, m.items, applied);
  // The shown text need not be one of the items ("No Styles").
  auto found = std::find(m.items.begin(), m.items.end(), m.text);
  if (found != m.items.end()) {
    int index = static_cast<int>(found - m.items.begin());
    if (w->currentIndex() != index) w->setCurrentIndex(index);
  } else {
    if (w->currentIndex() != -1) w->setCurrentIndex(-1);
    auto text = to_qstring(m.text);
    if (w->placeholderText() != text) w->setPlaceholderText(text);
  }
}

void sync_text(QLineEdit* w, TextBox& m, double tpp) {
  set_geometry(w, to_pixels(m.bounds, tpp));
  auto text = to_qstring(m.text);
  if (w->text() != text) w->setText(text);
  if (w->isEnabled() != m.enabled) w->setEnabled(m.enabled);
  set_colours(w, QPalette::Text, colours::black, QPalette::Base, m.back);
  if (m.wants_focus) {
    w->setFocus();
    m.wants_focus = false;
  }
}

}  // namespace

// ---- the window ----------------------------------------------------------------

MainWindowView::MainWindowView(AppState& s, Host& host, double twips_per_pixel)
    : s_(s),
      host_(host),
      tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15.0),
      com1_surface_(tpp_),
      command2_surface_(tpp_),
      p1_surface_(tpp_),
      p2_surface_(tpp_),
      p3_surface_(tpp_),
      p4_surface_(tpp_) {
  auto& f = s_.f1;
  f.com1.attach(&com1_surface_);
  f.command2.attach(&command2_surface_);
  f.p1.attach(&p1_surface_);
  f.p2.attach(&p2_surface_);
  f.p3.attach(&p3_surface_);
  f.p4.attach(&p4_surface_);
  build_widgets();
  build_menus();
  sync();
}

MainWindowView::~MainWindowView() {
  // The model outlives the window: it must not keep pointers to our surfaces.
  auto& f = s_.f1;
  for (PictureBox* box : {&f.com1, &f.command2, &f.p1, &f.p2, &f.p3, &f.p4}) box->attach(nullptr);
}

int MainWindowView::px(double twips) const { return to_pixels(twips, tpp_); }

void MainWindowView::run(const std::function<void()>& handler) {
  attempt_quietly(handler);
  sync();
}

QCheckBox* MainWindowView::make_check(CheckBox& model, const QString& name,
                                      std::function<void()> released) {
  auto* box = new QCheckBox(form_);
  box->setObjectName(name);
  box->setAutoFillBackground(true);
  connect(box, &QCheckBox::clicked, this, [this, &model, released](bool checked) {
    if (syncing_) return;
    model.value = checked ? 1 : 0;
    if (released)
      run(released);
    else
      sync();
  });
  return box;
}

void MainWindowView::build_widgets() {
  auto& f = s_.f1;
  form_ = new QWidget(this);
  form_->setObjectName("f1");
  form_->setAutoFillBackground(true);
  form_->setMouseTracking(true);
  form_->installEventFilter(this);
  QPalette back = form_->palette();
  back.setColor(QPalette::Window, to_qcolor(colours::button_face));
  back.setColor(QPalette::WindowText, to_qcolor(colours::black));
  form_->setPalette(back);
  // The design sizes were made for a small sans-serif face at 8 points.
  QFont face("Arial");
  face.setPointSizeF(8);
  form_->setFont(face);
  setCentralWidget(form_);

  auto flat_button = [&](const RasterSurface& surface, PictureBox& model, const char* name,
                         void (*click)(AppState&, Host&)) {
    auto* w = new SurfaceView(surface, form_);
    w->setObjectName(name);
    w->setMouseTracking(true);
    w->setCursor(Qt::PointingHandCursor);
    connect(w, &SurfaceView::clicked, this, [this, click] { run([this, click] { click(s_, host_); }); });
    connect(w, &SurfaceView::mouse_moved, this,
            [this, &model] { run([this, &model] { button_MouseMove(s_, host_, model); }); });
    return w;
  };
  com1_ = flat_button(com1_surface_, f.com1, "com1", &com1_Click);
  command2_ = flat_button(command2_surface_, f.command2, "command2", &command2_Click);

  combo2_ = new QComboBox(form_);
  combo2_->setObjectName("Combo2");
  connect(combo2_, &QComboBox::activated, this, [this](int index) {
    if (syncing_) return;
    attempt_quietly([&] { s_.f1.Combo2.text = bounded(s_.f1.Combo2.items, index, "Combo2"); });
    run([this] { Combo2_Click(s_, host_); });
  });
  combo1_ = new QComboBox(form_);
  combo1_->setObjectName("Combo1");
  connect(combo1_, &QComboBox::activated, this, [this](int index) {
    if (syncing_) return;
    // The font is chosen in the font dialog; this list only shows it.
    attempt_quietly([&] { s_.f1.Combo1.text = bounded(s_.f1.Combo1.items, index, "Combo1"); });
    sync();
  });

  for (int i = 0; i < 3; ++i)
    check3_[static_cast<std::size_t>(i)] =
        make_check(f.Check3[static_cast<std::size_t>(i)], QString("Check3(%1)").arg(i),
                   [this, i] { Check3_MouseUp(s_, host_, i); });
  for (int i = 0; i < category_boxes; ++i)
    check1_[static_cast<std::size_t>(i)] =
        make_check(f.Check1[static_cast<std::size_t>(i)], QString("Check1(%1)").arg(i),
                   [this, i] { Check1_MouseUp(s_, host_, i); });
  check2_ = make_check(f.Check2, "Check2", [this] { Check2_MouseUp(s_, host_); });
  check4_ = make_check(f.Check4, "Check4", [this] { Check4_MouseUp(s_, host_); });
  inc_ = make_check(f.inc, "inc", [this] { option_toggled(s_, host_); });
  ovw_ = make_check(f.ovw, "ovw", {});  // read by the next drawing
  shtxt_ = make_check(f.shtxt, "shtxt", [this] { option_toggled(s_, host_); });
  label2_ = make_check(f.label2, "label2", [this] { option_toggled(s_, host_); });

  text2_ = new QLineEdit(form_);
  text2_->setObjectName("Text2");
  connect(text2_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (!syncing_) s_.f1.Text2.text = from_qstring(text);
  });
  connect(text2_, &QLineEdit::returnPressed, this, [this] {
    if (!syncing_) run([this] { Text2_KeyPress(s_, host_, 13); });
  });

  text3_ = new QPlainTextEdit(form_);
  text3_->setObjectName("Text3");
  QFont courier("Courier New");
  courier.setStyleHint(QFont::TypeWriter);
  text3_->setFont(courier);
  connect(text3_, &QPlainTextEdit::textChanged, this, [this] {
    if (syncing_) return;
    s_.f1.Text3.text = from_qstring(text3_->toPlainText());
    text3_applied_ = s_.f1.Text3.text;
  });

  auto make_label = [&](const char* name) {
    auto* l = new ClickLabel(form_);
    l->setObjectName(name);
    l->setAutoFillBackground(true);
    return l;
  };
  label4_ = make_label("Label4");
  connect(label4_, &ClickLabel::double_clicked, this, [this] { run([this] { Label4_DblClick(s_, host_); }); });
  connect(label4_, &ClickLabel::pressed, this,
          [this](int button) { run([this, button] { Label4_MouseDown(s_, host_, button); }); });
  label5_ = make_label("Label5");
  label6_ = make_label("Label6");
  label1_ = make_label("label1");

  list1_ = new QListWidget(form_);
  list1_->setObjectName("List1");

  // The chart: the header pane p3 with the scale labels, the scrolling pane p2
  // holding the canvas p1 and the scroll bar, and the hidden scratch p4.
  p3_ = new SurfaceView(p3_surface_, form_);
  p3_->setObjectName("p3");
  for (int k = 0; k < scale_labels; ++k) {
    auto* l = new ClickLabel(p3_);
    l->setObjectName(QString("Label3(%1)").arg(k));
    l->setAutoFillBackground(true);
    l->setAlignment(Qt::AlignCenter);
    connect(l, &ClickLabel::clicked, this, [this, k] { run([this, k] { Label3_Click(s_, host_, k); }); });
    label3_[static_cast<std::size_t>(k)] = l;
  }
  p2_ = new SurfaceView(p2_surface_, form_);
  p2_->setObjectName("p2");
  p1_ = new SurfaceView(p1_surface_, p2_);
  p1_->setObjectName("p1");
  vs_ = new QScrollBar(Qt::Vertical, p2_);
  vs_->setObjectName("vs");
  // Every move of the scroll bar by the user scrolls the canvas: the thumb, the
  // arrows, the track and the wheel alike.
  connect(vs_, &QScrollBar::valueChanged, this, [this](int value) {
    if (syncing_) return;
    s_.f1.vs.value = value;
    run([this] { vs_Scroll(s_, host_); });
  });
  p2_->installEventFilter(this);
  p1_->installEventFilter(this);
  p4_ = new SurfaceView(p4_surface_, form_);
  p4_->setObjectName("p4");

  tm1_ = new QTimer(this);
  tm1_->setObjectName("tm1");
  connect(tm1_, &QTimer::timeout, this, [this] { run([this] { tm1_Timer(s_, host_); }); });

  auto* ctrl_r = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
  connect(ctrl_r, &QShortcut::activated, this, [this] { run([this] { Form_KeyPress(s_, host_, 18); }); });
}

void MainWindowView::build_menus() {
  auto& f = s_.f1;
  // The menu commands are dispatched by the core's menu handlers.
  auto* file = menuBar()->addMenu("File");
  for (const auto& item : f.mf) {
    QAction* action = item.caption == "-" ? file->addSeparator() : file->addAction(QString());
    mf_actions_.push_back(action);
  }
  auto* font = menuBar()->addMenu("Font");
  mfnt_action_ = font->addAction(QString());
  auto* tools = menuBar()->addMenu("Tools");
  for (const auto& item : f.mtls)
    mtls_actions_.push_back(item.caption == "-" ? tools->addSeparator() : tools->addAction(QString()));
  auto* help = menuBar()->addMenu("Help");
  mhl_action_ = help->addAction(QString());

  auto on = [this](QAction* action, std::function<void()> handler) {
    connect(action, &QAction::triggered, this, [this, handler] { run(handler); });
  };
  for (std::size_t i = 0; i < mf_actions_.size(); ++i)
    on(mf_actions_[i], [this, i] { mf_Click(s_, host_, static_cast<int>(i)); });
  for (std::size_t i = 0; i < mtls_actions_.size(); ++i)
    on(mtls_actions_[i], [this, i] { mtls_Click(s_, host_, static_cast<int>(i)); });
  on(mfnt_action_, [this] { mfnt_Click(s_, host_); });
  on(mhl_action_, [this] { mhl_Click(s_, host_); });
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
  if (syncing_) return;
  syncing_ = true;
  std::vector<QSignalBlocker> blocked;
  for (auto* child : findChildren<QObject*>()) blocked.emplace_back(child);

  auto& f = s_.f1;
  auto title = to_qstring(f.caption);
  if (windowTitle() != title) setWindowTitle(title);
  sync_window_size();

  sync_picture(com1_, f.com1, tpp_);
  sync_picture(command2_, f.command2, tpp_);
  sync_combo(combo2_, f.Combo2, combo2_items_, tpp_);
  sync_combo(combo1_, f.Combo1, combo1_items_, tpp_);
  for (std::size_t i = 0; i < check3_.size(); ++i) sync_check(check3_[i], f.Check3[i], tpp_);
  for (std::size_t i = 0; i < check1_.size(); ++i) sync_check(check1_[i], f.Check1[i], tpp_);
  sync_check(check2_, f.Check2, tpp_);
  sync_check(check4_, f.Check4, tpp_);
  sync_check(inc_, f.inc, tpp_);
  sync_check(ovw_, f.ovw, tpp_);
  sync_check(shtxt_, f.shtxt, tpp_);
  sync_check(label2_, f.label2, tpp_);
  sync_text(text2_, f.Text2, tpp_);

  set_geometry(text3_, to_pixels(f.Text3.bounds, tpp_));
  if (text3_applied_ != f.Text3.text) {
    auto shown = to_qstring(f.Text3.text);
    shown.replace("\r\n", "\n");
    text3_->setPlainText(shown);
    text3_applied_ = f.Text3.text;
  }
  if (text3_->isEnabled() != f.Text3.enabled) text3_->setEnabled(f.Text3.enabled);

  sync_label(label4_, f.Label4, tpp_);
  sync_label(label5_, f.Label5, tpp_);
  sync_label(label6_, f.Label6, tpp_);
  sync_label(label1_, f.label1, tpp_);
  set_geometry(list1_, to_pixels(f.List1.bounds, tpp_));
  sync_items(list1_, f.List1.items, list1_items_);

  sync_picture(p3_, f.p3, tpp_);
  for (std::size_t k = 0; k < label3_.size(); ++k) {
    // Labels 1 to 24 exist only once start-up has created them.
    auto m = f.Label3[k];
    if (k > 0 && !f.scale_labels_created) m.visible = false;
    sync_label(label3_[k], m, tpp_);
  }
  sync_picture(p2_, f.p2, tpp_);
  sync_picture(p1_, f.p1, tpp_);
  sync_picture(p4_, f.p4, tpp_);

  const auto& bar = f.vs;
  set_geometry(vs_, to_pixels(bar.bounds, tpp_));
  if (vs_->maximum() != bar.max || vs_->minimum() != 0) vs_->setRange(0, std::max(0, bar.max));
  if (vs_->value() != bar.value) vs_->setValue(bar.value);
  if (vs_->singleStep() != bar.small_change) vs_->setSingleStep(bar.small_change);
  if (vs_->pageStep() != bar.large_change) vs_->setPageStep(bar.large_change);
  if (vs_->isEnabled() != bar.enabled) vs_->setEnabled(bar.enabled);

  if (tm1_->interval() != f.tm1.interval_ms) tm1_->setInterval(std::max(1, f.tm1.interval_ms));
  if (f.tm1.enabled && !tm1_->isActive()) tm1_->start();
  if (!f.tm1.enabled && tm1_->isActive()) tm1_->stop();

  auto sync_action = [](QAction* a, const MenuItem& m) {
    if (!a->isSeparator() && a->text() != to_qstring(m.caption)) a->setText(to_qstring(m.caption));
    if (a->isEnabled() != m.enabled) a->setEnabled(m.enabled);
    if (a->isVisible() != m.visible) a->setVisible(m.visible);
  };
  for (std::size_t i = 0; i < mf_actions_.size() && i < f.mf.size(); ++i)
    sync_action(mf_actions_[i], f.mf[i]);
  for (std::size_t i = 0; i < mtls_actions_.size() && i < f.mtls.size(); ++i)
    sync_action(mtls_actions_[i], f.mtls[i]);
  sync_action(mfnt_action_, f.mfnt);
  sync_action(mhl_action_, f.mhl);

  syncing_ = false;
}

void MainWindowView::activate() { run([this] { Form_Activate(s_, host_); }); }

void MainWindowView::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  auto& f = s_.f1;
  QSize outer = frameGeometry().size();
  f.width = to_twips(outer.width(), tpp_);
  f.height = to_twips(outer.height(), tpp_);
  applied_size_ = QSize(f.width, f.height);
  if (syncing_)
    QTimer::singleShot(0, this, [this] { run([this] { Form_Resize(s_, host_); }); });
  else
    run([this] { Form_Resize(s_, host_); });
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  run([this] { Form_QueryUnload(s_, host_); });
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
  // The wheel over the chart turns its scroll bar.
  if ((watched == p1_ || watched == p2_) && event->type() == QEvent::Wheel) {
    QCoreApplication::sendEvent(vs_, event);
    return true;
  }
  if (watched == form_ && event->type() == QEvent::MouseMove && !syncing_)
    run([this] { Form_MouseMove(s_, host_); });
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace zw::qt
