// The dialogs' Qt windows over their models. Their QApplication is the one
// that window_test.cpp's environment makes for the whole binary.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <memory>

#include "app/menus.h"
#include "platform/headless/headless_host.h"
#include "platform/qt/dialogs.h"

namespace zw {
namespace {

template <class W>
W& child(QDialog& d, const char* name) {
  auto* w = d.findChild<W*>(name);
  if (!w) throw std::runtime_error(std::string("no control ") + name);
  return *w;
}

void release_on(QWidget& w) {
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &release);
}

struct QtDialogs : ::testing::Test {
  AppState s;
  HeadlessHost host;
  std::unique_ptr<QDialog> open(Dialog which) { return qt::make_dialog(s, host, which, nullptr); }
};

TEST_F(QtDialogs, FontDialogPreviewsAndAppliesOnlyThroughItsButton) {
  host.fonts = {"DejaVu Sans", "@Vertical", "Liberation Serif"};
  for (bool by_button : {true, false}) {
    s.chart_font_name = "Liberation Serif";
    s.chart_font_size = by_button ? 12 : 3;
    auto d = open(Dialog::font);
    ASSERT_TRUE(d);
    auto& names = child<QComboBox>(*d, "Combo1");
    auto& sizes = child<QComboBox>(*d, "Combo2");
    auto& preview = child<QLabel>(*d, "Label1");
    EXPECT_EQ(names.count(), 2);  // no vertical fonts
    EXPECT_EQ(names.currentText(), "Liberation Serif");
    EXPECT_EQ(preview.font().family(), "Liberation Serif");
    emit sizes.textActivated("8");
    EXPECT_EQ(preview.font().pointSizeF(), 8);
    sizes.setEditText("14");
    names.setEditText("Liberation Mono");
    if (by_button) {
      EXPECT_EQ(s.chart_font_size, 12);  // only the preview changed
      child<QPushButton>(*d, "Command1").click();
    } else {
      d->show();
      d->close();  // by its frame
    }
    EXPECT_EQ(d->result(), by_button ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(s.chart_font_size, by_button ? 14 : 10);  // 3 was corrected when it opened
    EXPECT_EQ(s.chart_font_name, by_button ? "Liberation Mono" : "Liberation Serif");
  }
}

TEST_F(QtDialogs, ConvertDialogEndsWithTheNameOnlyAfterYes) {
  struct Case {
    const char* button;
    Answer answer;
    bool frame_close_after;
    int result;
    std::string name;
  } cases[] = {
      {"command1(1)", Answer::yes, false, QDialog::Accepted, "newstyle"},
      {"command1(1)", Answer::cancel, false, QDialog::Accepted, ""},
      {"command1(1)", Answer::no, true, QDialog::Rejected, ""},    // declined, then the frame
      {"command1(0)", Answer::yes, false, QDialog::Accepted, ""},  // Close asks nothing
  };
  for (const auto& c : cases) {
    HeadlessHost h;
    h.answers = {c.answer};
    s.new_style_name.clear();
    auto d = qt::make_dialog(s, h, Dialog::convert, nullptr);
    d->show();
    child<QLineEdit>(*d, "Text1").setText("newstyle");
    release_on(child<QWidget>(*d, c.button));
    if (c.frame_close_after) {
      EXPECT_TRUE(d->isVisible());
      EXPECT_EQ(s.new_style_name, "newstyle");
      d->close();
    }
    EXPECT_EQ(d->result(), c.result) << c.button;
    EXPECT_EQ(s.new_style_name, c.name) << c.button;
    d.reset();
    // The buttons' pictures went with the window.
    EXPECT_FALSE(s.convert.command1[0].has_surface());
  }
}

TEST(HelpPage, ShipsBesideTheExecutables) {
  AppState s;
  s.app_dir = QFileInfo(ZW_CLI_PATH).absolutePath().toStdString();
  QFile page(QString::fromStdString(help_page(s)));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << help_page(s);
  EXPECT_TRUE(page.readAll().contains("<title>Zoomwright help</title>"));
}

}  // namespace
}  // namespace zw
