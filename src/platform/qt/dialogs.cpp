#include "platform/qt/dialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <functional>

#include "app/about_box.h"
#include "app/font_dialog.h"
#include "convert/convert_dialog.h"
#include "platform/qt/raster_surface.h"
#include "platform/qt/raster_text.h"

namespace zw::qt {
namespace {

QString qs(const std::string& s) { return to_qstring(s); }
std::string str(const QString& s) { return from_qstring(s); }

// Shows a model combo box: its items, then its text (which need not be one of them).
void show_combo(QComboBox& box, const ComboBox& model) {
  QSignalBlocker block(box);
  QStringList items;
  for (const auto& item : model.items) items << qs(item);
  bool same = box.count() == items.size();
  for (int i = 0; same && i < box.count(); ++i) same = box.itemText(i) == items[i];
  if (!same) {
    box.clear();
    box.addItems(items);
  }
  int at = box.findText(qs(model.text), Qt::MatchExactly);
  if (at >= 0) box.setCurrentIndex(at);
  box.setEditText(qs(model.text));
}

class FontView : public QDialog {
 public:
  FontView(AppState& s, Host& host, QWidget* parent) : QDialog(parent), s_(s), host_(host) {
    setWindowTitle("Font");
    setObjectName("fontt");
    combo1_.setObjectName("Combo1");
    combo2_.setObjectName("Combo2");
    label1_.setObjectName("Label1");
    command1_.setObjectName("Command1");
    for (auto* box : {&combo1_, &combo2_}) {
      box->setEditable(true);
      box->setInsertPolicy(QComboBox::NoInsert);
    }
    combo1_.setMinimumContentsLength(22);
    combo2_.setMinimumContentsLength(3);
    command1_.setText("Close");
    command1_.setAutoDefault(false);
    label1_.setFrameShape(QFrame::StyledPanel);
    label1_.setAlignment(Qt::AlignCenter);
    label1_.setMinimumSize(420, 70);

    auto* top = new QHBoxLayout;
    top->addWidget(&combo1_, 1);
    top->addWidget(&combo2_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(&command1_);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(&label1_, 1);
    all->addLayout(bottom);

    connect(&combo1_, &QComboBox::editTextChanged, this,
            [this](const QString& t) { s_.fontt.Combo1.text = str(t); });
    connect(&combo2_, &QComboBox::editTextChanged, this,
            [this](const QString& t) { s_.fontt.Combo2.text = str(t); });
    connect(&combo1_, &QComboBox::textActivated, this, [this](const QString& t) {
      s_.fontt.Combo1.text = str(t);
      font_form::Combo1_Click(s_);
      sync();
    });
    connect(&combo2_, &QComboBox::textActivated, this, [this](const QString& t) {
      s_.fontt.Combo2.text = str(t);
      font_form::Combo2_Click(s_);
      sync();
    });
    connect(&command1_, &QPushButton::clicked, this, [this] {
      s_.fontt.Combo1.text = str(combo1_.currentText());
      s_.fontt.Combo2.text = str(combo2_.currentText());
      font_form::Command1_Click(s_);
      sync();
      if (s_.fontt.closing) accept();
    });

    font_form::Form_Load(s_, host_);
    sync();
  }

  void sync() {
    const auto& d = s_.fontt;
    show_combo(combo1_, d.Combo1);
    show_combo(combo2_, d.Combo2);
    label1_.setText(qs(d.Label1.caption));
    QFont font(qs(d.preview_font));
    if (d.preview_size > 0) font.setPointSizeF(d.preview_size);
    label1_.setFont(font);
  }

 private:
  AppState& s_;
  Host& host_;
  QComboBox combo1_, combo2_;
  QLabel label1_;
  QPushButton command1_;
};

// A little chart, standing for the program's picture in the About box.
QPixmap about_picture() {
  QPixmap picture(64, 64);
  picture.fill(Qt::white);
  QPainter p(&picture);
  p.setPen(QColor(192, 192, 192));
  for (int x = 8; x < 64; x += 12) p.drawLine(x, 4, x, 60);
  const struct {
    int from, to;
    QColor colour;
  } bars[] = {{8, 56, QColor(0, 0, 255)},
              {20, 56, QColor(0, 128, 0)},
              {32, 56, QColor(128, 0, 0)},
              {44, 56, QColor(255, 0, 0)}};
  int y = 12;
  for (const auto& bar : bars) {
    p.fillRect(bar.from, y, bar.to - bar.from, 5, bar.colour);
    y += 12;
  }
  p.setPen(Qt::black);
  p.drawRect(0, 0, 63, 63);
  return picture;
}

class AboutView : public QDialog {
 public:
  AboutView(AppState& s, Host& host, QWidget* parent) : QDialog(parent), s_(s), host_(host) {
    setObjectName("Infor");
    label9_.setObjectName("Label9");
    label1_.setObjectName("label1");
    label2_.setObjectName("Label2");
    label3_.setObjectName("Label3");
    command1_.setObjectName("Command1");
    picture1_.setObjectName("Picture1");
    picture1_.setPixmap(about_picture());

    QFont big = label9_.font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    label9_.setFont(big);
    label9_.setStyleSheet("color: rgb(128, 0, 0);");
    label1_.setWordWrap(true);
    label2_.setTextFormat(Qt::PlainText);
    label2_.setCursor(Qt::PointingHandCursor);
    label2_.setStyleSheet("color: rgb(0, 0, 255); text-decoration: underline;");
    label2_.installEventFilter(this);
    command1_.setText("OK");

    shape1_.setObjectName("Shape1");
    shape1_.setFrameShape(QFrame::Box);
    auto* heading = new QHBoxLayout;
    heading->addWidget(&picture1_);
    auto* names = new QVBoxLayout;
    names->addWidget(&label9_);
    names->addWidget(&label3_);
    heading->addLayout(names, 1);
    auto* inside = new QVBoxLayout(&shape1_);
    inside->addLayout(heading);
    inside->addWidget(&label1_);
    inside->addWidget(&label2_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(&command1_);
    auto* all = new QVBoxLayout(this);
    all->addWidget(&shape1_);
    all->addLayout(bottom);
    setMinimumWidth(380);

    connect(&command1_, &QPushButton::clicked, this, [this] {
      about_form::Command1_Click(s_);
      if (s_.Infor.closing) accept();
    });
    about_form::Form_Activate(s_);
    sync();
  }

  void sync() {
    const auto& d = s_.Infor;
    setWindowTitle(qs(d.caption));
    label9_.setText(qs(d.Label9.caption));
    label3_.setText(qs(d.Label3.caption));
    label1_.setText(qs(d.label1.caption));
    label2_.setText(qs(d.Label2.caption));
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &label2_ && event->type() == QEvent::MouseButtonRelease) {
      about_form::Label2_Click(s_, host_);
      return true;
    }
    return QDialog::eventFilter(watched, event);
  }

 private:
  AppState& s_;
  Host& host_;
  QFrame shape1_;
  QLabel picture1_, label9_, label3_, label1_, label2_;
  QPushButton command1_;
};

// A picture box shown as a flat button: its surface on screen, and the mouse
// reported to the dialog's logic.
class FlatButton : public QWidget {
 public:
  FlatButton(PictureBox& box, double twips_per_pixel, QWidget* parent)
      : QWidget(parent), box_(box), surface_(twips_per_pixel) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    box_.attach(&surface_);
    surface_.on_change([this] { update(); });
    setFixedSize(surface_.qimage().size());
  }
  ~FlatButton() override { box_.attach(nullptr); }  // the model never keeps a dead surface

  std::function<void()> on_move, on_click;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, surface_.qimage());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (on_move) on_move();
    e->accept();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && on_click)
      on_click();
  }

 private:
  PictureBox& box_;
  RasterSurface surface_;
};

class ConvertView : public QDialog {
 public:
  ConvertView(AppState& s, Host& host, QWidget* parent) : QDialog(parent), s_(s), host_(host) {
    setObjectName("convert");
    setMouseTracking(true);
    label1_.setObjectName("label1");
    label2_.setObjectName("Label2");
    label3_.setObjectName("Label3");
    text1_.setObjectName("Text1");
    label3_.setStyleSheet("font-weight: bold;");
    text1_.installEventFilter(this);
    connect(&text1_, &QLineEdit::textChanged, this,
            [this](const QString& t) { s_.convert.Text1.text = str(t); });

    auto* grid = new QGridLayout;
    grid->addWidget(&label1_, 0, 0);
    grid->addWidget(&text1_, 0, 1);
    grid->addWidget(&label2_, 1, 0);
    grid->addWidget(&label3_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const double tpp = host_.twips_per_pixel();
    for (int i = 0; i < 2; ++i) {
      auto& box = s_.convert.command1[static_cast<std::size_t>(i)];
      box.set_size(flat_button_width, flat_button_height);
      auto* button = new FlatButton(box, tpp > 0 ? tpp : 15, this);
      button->setObjectName(i == 0 ? "command1_0" : "command1_1");
      button->on_move = [this, i] {
        convert_form::command1_MouseMove(s_, host_, i);
        sync();
      };
      button->on_click = [this, i] {
        s_.convert.Text1.text = str(text1_.text());
        bool closes = convert_form::command1_Click(s_, host_, i);
        if (closes) {
          closed_by_logic_ = true;
          accept();
        } else {
          sync();
        }
      };
      buttons->addWidget(button);
    }
    auto* all = new QVBoxLayout(this);
    all->addLayout(grid);
    all->addSpacing(8);
    all->addLayout(buttons);
    setMinimumWidth(360);

    convert_form::Form_Load(s_, host_);
    sync();
  }

  void sync() {
    const auto& d = s_.convert;
    setWindowTitle(qs(d.caption));
    label1_.setText(qs(d.label1.caption));
    label2_.setText(qs(d.Label2.caption));
    label3_.setText(qs(d.Label3.caption));
    if (text1_.text() != qs(d.Text1.text)) {
      QSignalBlocker block(text1_);
      text1_.setText(qs(d.Text1.text));
    }
  }

  void done(int result) override {
    if (!closed_by_logic_) convert_form::Form_Unload(s_);
    QDialog::done(result);
  }

 protected:
  void mouseMoveEvent(QMouseEvent* e) override {
    convert_form::Form_MouseMove(s_, host_);
    QDialog::mouseMoveEvent(e);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &text1_ && event->type() == QEvent::KeyPress) {
      auto text = static_cast<QKeyEvent*>(event)->text();
      if (text.size() == 1) {
        int key = text.at(0).unicode();
        convert_form::Text1_KeyPress(key);
        if (key == 0) return true;
      }
    }
    return QDialog::eventFilter(watched, event);
  }

 private:
  static constexpr int flat_button_width = 1100, flat_button_height = 375;
  AppState& s_;
  Host& host_;
  QLabel label1_, label2_, label3_;
  QLineEdit text1_;
  bool closed_by_logic_ = false;
};

}  // namespace

std::unique_ptr<QDialog> make_dialog(AppState& s, Host& host, Dialog which, QWidget* parent) {
  switch (which) {
    case Dialog::font:
      return std::make_unique<FontView>(s, host, parent);
    case Dialog::about:
      return std::make_unique<AboutView>(s, host, parent);
    case Dialog::convert:
      return std::make_unique<ConvertView>(s, host, parent);
  }
  return nullptr;
}

void run_dialog(AppState& s, Host& host, Dialog which, QWidget* parent) {
  auto dialog = make_dialog(s, host, which, parent);
  if (!dialog) return;
  dialog->setModal(true);
  dialog->exec();
}

}  // namespace zw::qt
