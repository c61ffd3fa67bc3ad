#include "platform/qt/dialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/window_tables.h"
#include "base/failure.h"
#include "platform/qt/control_set.h"
#include "platform/qt/raster_text.h"

namespace zw::qt {
namespace {

// A dialog whose controls come from its table: built, wired and mirrored by a
// control set, placed by the dialog's layouts. It closes itself when its logic
// asks for that; closed by its frame, it runs the table's frame_close.
class TableDialog : public QDialog {
 public:
  TableDialog(AppState& s, Host& host, QWidget* parent, Dialog which)
      : QDialog(parent),
        table_(dialog_table(s, host, which)),
        controls_(host.twips_per_pixel(), false) {
    controls_.build(std::move(table_.controls), this);
    controls_.after_event = [this] {
      sync();
      if (table_.closing && *table_.closing) accept();
    };
  }

  void sync() { controls_.sync(); }

 protected:
  template <class W>
  W* control(const char* name) const {
    return static_cast<W*>(controls_.widget(name));
  }
  // Once the layouts are made: the dialog's opening steps, then its widgets.
  void open() {
    if (table_.load) attempt_quietly(table_.load);
    sync();
  }
  void done(int result) override {
    if (table_.frame_close) attempt_quietly(table_.frame_close);
    QDialog::done(result);
  }

 private:
  WindowTable table_;
  ControlSet controls_;
};

class FontView : public TableDialog {
 public:
  FontView(AppState& s, Host& host, QWidget* parent) : TableDialog(s, host, parent, Dialog::font) {
    auto* names = control<QComboBox>("Combo1");
    auto* sizes = control<QComboBox>("Combo2");
    auto* preview = control<QLabel>("Label1");
    names->setMinimumContentsLength(22);
    sizes->setMinimumContentsLength(3);
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setMinimumSize(420, 70);

    auto* top = new QHBoxLayout;
    top->addWidget(names, 1);
    top->addWidget(sizes);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(control<QWidget>("Command1"));
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(preview, 1);
    all->addLayout(bottom);
    open();
  }
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

class AboutView : public TableDialog {
 public:
  AboutView(AppState& s, Host& host, QWidget* parent)
      : TableDialog(s, host, parent, Dialog::about) {
    auto* name = control<QLabel>("Label9");
    auto* version = control<QLabel>("label1");
    auto* link = control<QLabel>("Label2");
    picture1_.setObjectName("Picture1");
    picture1_.setPixmap(about_picture());
    version->setWordWrap(true);
    link->setTextFormat(Qt::PlainText);
    link->setCursor(Qt::PointingHandCursor);
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);

    shape1_.setObjectName("Shape1");
    shape1_.setFrameShape(QFrame::Box);
    auto* heading = new QHBoxLayout;
    heading->addWidget(&picture1_);
    auto* names = new QVBoxLayout;
    names->addWidget(name);
    names->addWidget(control<QLabel>("Label3"));
    heading->addLayout(names, 1);
    auto* inside = new QVBoxLayout(&shape1_);
    inside->addLayout(heading);
    inside->addWidget(version);
    inside->addWidget(link);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(control<QWidget>("Command1"));
    auto* all = new QVBoxLayout(this);
    all->addWidget(&shape1_);
    all->addLayout(bottom);
    setMinimumWidth(380);
    open();
  }

 private:
  QFrame shape1_;
  QLabel picture1_;
};

class ConvertView : public TableDialog {
 public:
  ConvertView(AppState& s, Host& host, QWidget* parent)
      : TableDialog(s, host, parent, Dialog::convert) {
    auto* grid = new QGridLayout;
    grid->addWidget(control<QWidget>("label1"), 0, 0);
    grid->addWidget(control<QWidget>("Text1"), 0, 1);
    grid->addWidget(control<QWidget>("Label2"), 1, 0);
    grid->addWidget(control<QWidget>("Label3"), 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(control<QWidget>("command1(0)"));
    buttons->addWidget(control<QWidget>("command1(1)"));
    auto* all = new QVBoxLayout(this);
    all->addLayout(grid);
    all->addSpacing(8);
    all->addLayout(buttons);
    setMinimumWidth(360);
    open();
  }
};

// The findings of the TYP check, one per line; a double-click opens a
// finding's file at its line.
class TypCheckView : public TableDialog {
 public:
  TypCheckView(AppState& s, Host& host, QWidget* parent)
      : TableDialog(s, host, parent, Dialog::typ_check) {
    auto* summary = control<QLabel>("Label1");
    summary->setWordWrap(true);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(control<QWidget>("Command1"));
    auto* all = new QVBoxLayout(this);
    all->addWidget(summary);
    all->addWidget(control<QWidget>("List1"), 1);
    all->addLayout(bottom);
    resize(900, 420);
    open();
  }
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
    case Dialog::typ_check:
      return std::make_unique<TypCheckView>(s, host, parent);
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
