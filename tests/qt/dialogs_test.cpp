#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <cstdlib>
#include <memory>

#include "app/menus.h"
#include "platform/headless/headless_host.h"
#include "platform/qt/dialogs.h"

namespace zw {
namespace {

// Widgets need a QApplication, made before any test (a plain QGuiApplication
// made by another test first would not do).
struct WidgetsApp : ::testing::Environment {
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    // No display is needed, whatever the test runner passes on.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QApplication>(argc, argv);
  }
  // Gone before the program's exit handlers run: Qt cannot be torn down after them.
  void TearDown() override { app.reset(); }

  int argc = 1;
  char name[12] = "zw_qt_tests";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app;
};
const auto* const widgets_app = ::testing::AddGlobalTestEnvironment(new WidgetsApp);

template <class W>
W& child(QDialog& d, const char* name) {
  auto* w = d.findChild<W*>(name);
  if (!w) throw std::runtime_error(std::string("no control ") + name);
  return *w;
}

// With ZW_DIALOG_SHOTS set to a directory, each dialog is also saved as a picture.
void shoot(QDialog& d, const char* file) {
  const char* dir = std::getenv("ZW_DIALOG_SHOTS");
  if (!dir) return;
  d.show();
  QApplication::processEvents();
  d.grab().save(QString(dir) + "/" + file);
}

struct QtDialogs : ::testing::Test {
  AppState s;
  HeadlessHost host;
  std::unique_ptr<QDialog> open(Dialog which) { return qt::make_dialog(s, host, which, nullptr); }
};

TEST_F(QtDialogs, FontDialogShowsItsModelAndCloseApplies) {
  host.fonts = {"DejaVu Sans", "@Vertical", "Liberation Serif"};
  s.chart_font_name = "Liberation Serif";
  s.chart_font_size = 12;
  auto d = open(Dialog::font);
  ASSERT_TRUE(d);
  auto& names = child<QComboBox>(*d, "Combo1");
  auto& sizes = child<QComboBox>(*d, "Combo2");
  auto& preview = child<QLabel>(*d, "Label1");
  ASSERT_EQ(names.count(), 2);
  EXPECT_EQ(names.currentText(), "Liberation Serif");
  ASSERT_EQ(sizes.count(), 11);
  EXPECT_EQ(sizes.currentText(), "12");
  EXPECT_EQ(preview.font().family(), "Liberation Serif");
  EXPECT_EQ(preview.font().pointSizeF(), 12);
  shoot(*d, "font.png");

  emit sizes.textActivated("8");
  EXPECT_EQ(preview.font().pointSizeF(), 8);
  EXPECT_EQ(s.chart_font_size, 12);  // only the preview changed
  sizes.setEditText("14");
  names.setEditText("Liberation Mono");
  child<QPushButton>(*d, "Command1").click();
  EXPECT_EQ(d->result(), QDialog::Accepted);
  EXPECT_EQ(s.chart_font_size, 14);
  EXPECT_EQ(s.chart_font_name, "Liberation Mono");
}

TEST_F(QtDialogs, FontDialogClosedByItsFrameAppliesNothing) {
  s.chart_font_name = "Arial";
  s.chart_font_size = 3;
  auto d = open(Dialog::font);
  child<QComboBox>(*d, "Combo2").setEditText("14");
  child<QComboBox>(*d, "Combo1").setEditText("Liberation Mono");
  d->show();
  d->close();
  EXPECT_EQ(d->result(), QDialog::Rejected);
  EXPECT_EQ(s.chart_font_name, "Arial");
  EXPECT_EQ(s.chart_font_size, 10);  // corrected when it opened
}

TEST_F(QtDialogs, AboutBoxShowsVersionAndOpensTheHomePage) {
  s.app_dir = "prog";
  auto d = open(Dialog::about);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->windowTitle(), "Information");
  EXPECT_EQ(child<QLabel>(*d, "Label9").text(), "Zoomwright");
  EXPECT_TRUE(child<QLabel>(*d, "label1").text().startsWith("Version 2.51"));
  shoot(*d, "about.png");
  auto& link = child<QLabel>(*d, "Label2");
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&link, &release);
  EXPECT_EQ(host.opened, std::vector<std::string>{help_page(s)});
  child<QPushButton>(*d, "Command1").click();
  EXPECT_EQ(d->result(), QDialog::Accepted);
}

void type_into(QWidget& w, const std::string& keys) {
  for (char c : keys) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(c)));
    QApplication::sendEvent(&w, &press);
  }
}

void click(QWidget& w) {
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &release);
}

TEST_F(QtDialogs, ConvertDialogOpensWithTheSourceAndFiltersTheName) {
  s.style_name = "default";
  auto d = open(Dialog::convert);
  ASSERT_TRUE(d);
  EXPECT_EQ(d->windowTitle(), "Convert to Levels");
  EXPECT_EQ(child<QLabel>(*d, "Label3").text(), "default");
  auto& name = child<QLineEdit>(*d, "Text1");
  EXPECT_EQ(name.text(), "untitled");
  EXPECT_EQ(s.convert.command1[0].tag, "Close");
  EXPECT_EQ(s.convert.command1[1].tag, "OK");
  name.clear();
  type_into(name, "my style.2,;x");
  EXPECT_EQ(name.text(), "mystyle2x");
  EXPECT_EQ(s.convert.Text1.text, "mystyle2x");
  shoot(*d, "convert.png");
  d.reset();
  // The buttons' pictures went with the window.
  EXPECT_FALSE(s.convert.command1[0].has_surface());
}

TEST_F(QtDialogs, ConvertDialogEndsWithTheNameOnlyAfterYes) {
  struct Case {
    const char* button;
    std::vector<Answer> answers;
    bool frame_close_after;
    int result;
    std::string name;
  } cases[] = {
      {"command1_1", {Answer::yes}, false, QDialog::Accepted, "newstyle"},
      {"command1_1", {Answer::cancel}, false, QDialog::Accepted, ""},
      {"command1_1", {Answer::no}, true, QDialog::Rejected, ""},  // declined, then the frame
      {"command1_0", {}, false, QDialog::Accepted, ""},
  };
  for (const auto& c : cases) {
    HeadlessHost h;
    h.answers.assign(c.answers.begin(), c.answers.end());
    s.new_style_name.clear();
    auto d = qt::make_dialog(s, h, Dialog::convert, nullptr);
    d->show();
    child<QLineEdit>(*d, "Text1").setText("newstyle");
    click(child<QWidget>(*d, c.button));
    if (c.frame_close_after) {
      EXPECT_TRUE(d->isVisible());
      EXPECT_EQ(s.new_style_name, "newstyle");
      d->close();
    }
    EXPECT_EQ(d->result(), c.result) << c.button;
    EXPECT_EQ(s.new_style_name, c.name) << c.button;
  }
}

}  // namespace
}  // namespace zw

namespace zw {
namespace {

TEST(HelpPage, ShipsBesideTheExecutables) {
  AppState s;
  s.app_dir = QFileInfo(ZW_CLI_PATH).absolutePath().toStdString();
  QFile page(QString::fromStdString(help_page(s)));
  ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << help_page(s);
  EXPECT_TRUE(page.readAll().contains("<title>Zoomwright help</title>"));
}

}  // namespace
}  // namespace zw
