// The window binding: widgets mirror the model, widget events run the handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include "app/main_window.h"
#include "app/paths.h"
#include "levels/categories.h"
#include "platform/qt/main_window_view.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/raster_text.h"
#include "platform/qt/twips.h"
#include "support/test_app.h"

namespace zw {
namespace {

using qt::MainWindowView;
using test::TestApp;

// Widgets need a QApplication, made before any test runs so that no other Qt
// test makes a plain QGuiApplication first. It is never destroyed: tearing Qt
// down during exit crashes once input devices exist.
struct WidgetApplication : ::testing::Environment {
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    // The tests need no screen, wherever they run.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zw_qt_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
};
[[maybe_unused]] const auto* const widget_application =
    ::testing::AddGlobalTestEnvironment(new WidgetApplication);

// Lets the window's queued events and timers run for a while.
void pump(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

template <class W>
W* widget(MainWindowView& view, const char* name) {
  auto* w = view.findChild<W*>(name);
  if (!w) ADD_FAILURE() << "no widget " << name;
  return w;
}

void send_mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button) {
  QPointF at(2, 2);
  QMouseEvent event(type, at, w->mapToGlobal(at), button,
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(button),
                    Qt::NoModifier);
  QCoreApplication::sendEvent(w, &event);
}

struct Window : ::testing::Test {
  TestApp app;
};

TEST(Twips, BecomePixelsAtTheScreensLogicalDpi) {
  struct Case { double twips, dpi; int pixels; } cases[] = {{7, 96, 0}, {8, 96, 1}, {-300, 96, -20}, {255, 144, 26}};
  for (const auto& c : cases)
    EXPECT_EQ(qt::to_pixels(c.twips, qt::twips_per_pixel_at(c.dpi)), c.pixels)
        << c.twips << " twips at " << c.dpi << " dpi";
  EXPECT_EQ(qt::twips_per_pixel_at(0), 15.0);  // no screen: the common 96 dpi
}

TEST_F(Window, WidgetsShowTheModelAfterSync) {
  MainWindowView view(app.s, app.host, 15);
  auto& f = app.s.f1;
  f.Check1[3].value = 1, f.Check1[3].caption = "Trunk", f.Check1[4].visible = false;
  f.Label4.caption = "Levels: 24 22", f.Label4.bold = true;
  f.Combo1.items = {"Arial"}, f.Combo1.text = "No Such Font";
  f.mf[12].enabled = false, f.caption = "Zoomwright 2.51 beta";
  view.sync();

  auto* box = widget<QCheckBox>(view, "Check1(3)");
  EXPECT_TRUE(box->isChecked() && box->text() == "Trunk");
  EXPECT_FALSE(widget<QCheckBox>(view, "Check1(4)")->isVisibleTo(&view));
  EXPECT_EQ(widget<QCheckBox>(view, "Check2")->geometry(), QRect(720, 36, 60, 17));
  auto* levels = widget<QLabel>(view, "Label4");
  EXPECT_TRUE(levels->text() == "Levels: 24 22" && levels->font().bold());
  // A shown text that is no item of the list still shows.
  auto* fonts = widget<QComboBox>(view, "Combo1");
  EXPECT_TRUE(fonts->currentIndex() == -1 && fonts->placeholderText() == "No Such Font");
  EXPECT_EQ(view.windowTitle(), "Zoomwright 2.51 beta");
  int greyed = 0;
  for (auto* action : view.findChildren<QAction*>())
    if (action->text() == "Print") greyed += action->isEnabled() ? 0 : 1;
  EXPECT_EQ(greyed, 1);

  // Unticking in the model unticks the widget; syncing twice changes nothing.
  f.Check1[3].value = 0;
  view.sync(), view.sync();
  EXPECT_TRUE(!box->isChecked() && fonts->count() == 1);
}

TEST_F(Window, KindCategoryAndScrollBarActionsWriteIntoTheModel) {
  MainWindowView view(app.s, app.host, 15);
  auto& f = app.s.f1;
  widget<QCheckBox>(view, "Check3(2)")->click();
  EXPECT_TRUE(f.Check3[2].value == 1 && app.s.selected_kind == 2);
  EXPECT_FALSE(widget<QCheckBox>(view, "Check3(0)")->isChecked());
  int shown = 0;
  for (int i = 0; i < category_boxes; ++i) {
    auto* box = widget<QCheckBox>(view, QString("Check1(%1)").arg(i).toUtf8().constData());
    EXPECT_EQ(qt::from_qstring(box->text()), f.Check1[static_cast<std::size_t>(i)].caption);
    if (!box->text().isEmpty()) ++shown;
  }
  EXPECT_GT(shown, 3);

  // A category box writes its tick into the model.
  widget<QCheckBox>(view, "Check1(1)")->click();
  EXPECT_EQ(f.Check1[1].value, 1);

  // The scroll bar's arrows scroll like its thumb.
  auto& bar = f.vs;
  bar.bounds = {9000, 0, 255, 3000};
  bar.max = 400, bar.small_change = 20, bar.large_change = 40;
  view.sync();
  auto* vs = widget<QScrollBar>(view, "vs");
  vs->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(bar.value, 20);
  vs->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(bar.value, 60);
  // The model moving the bar is no user action: nothing is written back.
  bar.value = 0;
  view.sync();
  EXPECT_TRUE(vs->value() == 0 && bar.value == 0);
}

TEST_F(Window, KeysAndClicksOnTheFilterAndTheLevelsRunTheirHandlers) {
  app.style("s", {{"options", "levels = 0:24, 1:20\n"},
                             {"lines", "highway=primary [0x02 resolution 20]\n"
                                       "highway=track [0x0a resolution 22]\n"}});
  app.select("s");
  app.click_kind(1);
  app.s.f1.Check1[0].value = 1;  // "All"
  MainWindowView view(app.s, app.host, 15);

  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QCoreApplication::sendEvent(widget<QLineEdit>(view, "Text2"), &enter);
  EXPECT_TRUE(app.s.result_count == 2 && widget<QLabel>(view, "label1")->text() == "2");

  // The right button reloads the style; the left one does not.
  auto* levels = widget<QLabel>(view, "Label4");
  auto before = levels->text();
  app.dir.write("styles/s/options", "levels = 0:24, 1:21, 2:18\n");
  send_mouse(levels, QEvent::MouseButtonPress, Qt::LeftButton);
  EXPECT_EQ(levels->text(), before);
  send_mouse(levels, QEvent::MouseButtonPress, Qt::RightButton);
  EXPECT_TRUE(levels->text().contains("18"));

  // A double-click on the levels opens the style's options file for editing.
  app.host.shell_works = true;
  send_mouse(levels, QEvent::MouseButtonDblClick, Qt::LeftButton);
  EXPECT_EQ(app.host.opened, std::vector<std::string>{options_file_path(app.s)});

  // Ctrl+R, wherever the focus is, writes the default category files again
  // over the user's; other keys do not.
  for (const char* focus : {"Text2", "Check2"}) {
    app.dir.write("app/system/lines.res", "mine");
    auto* w = widget<QWidget>(view, focus);
    view.show();
    w->setFocus();
    QKeyEvent plain_r(QEvent::KeyPress, Qt::Key_R, Qt::NoModifier, "r");
    QCoreApplication::sendEvent(w, &plain_r);
    EXPECT_EQ(app.dir.read("app/system/lines.res"), "mine") << focus;
    QKeyEvent ctrl_r(QEvent::KeyPress, Qt::Key_R, Qt::ControlModifier, QString(QChar(18)));
    QCoreApplication::sendEvent(w, &ctrl_r);
    EXPECT_EQ(app.dir.read("app/system/lines.res"), default_categories(1) + "\r\n") << focus;
  }
}

TEST_F(Window, TheFlatStyleRootButtonAndTheStyleListRunTheirHandlers) {
  app.style("a", {{"options", "levels = 0:24, 1:22\n"}});
  app.style("b", {{"options", "levels = 0:24, 1:19\n"}});
  MainWindowView view(app.s, app.host, 15);
  auto& f = app.s.f1;
  auto* chooser = widget<QWidget>(view, "com1");

  // The flat button paints its hover look on its surface, and back.
  auto look = [&] { return std::pair{app.s.hover_active, f.com1.draw().image().at(1, 1)}; };
  paint_button(app.s, app.host, f.com1, ">>", 0);
  view.sync();
  EXPECT_EQ(look(), std::pair(false, rgb(230, 230, 230)));
  send_mouse(chooser, QEvent::MouseMove, Qt::NoButton);
  EXPECT_EQ(look(), std::pair(true, rgb(250, 250, 250)));
  send_mouse(widget<QWidget>(view, "f1"), QEvent::MouseMove, Qt::NoButton);
  EXPECT_EQ(look(), std::pair(false, rgb(230, 230, 230)));

  // ">>" asks for the folder; the styles under it fill the list.
  app.host.dialog_paths = {app.dir.at("styles")};
  send_mouse(chooser, QEvent::MouseButtonPress, Qt::LeftButton);
  send_mouse(chooser, QEvent::MouseButtonRelease, Qt::LeftButton);
  EXPECT_EQ(app.host.dialog_titles, std::vector<std::string>{"Select Style   Directory"});
  auto* styles = widget<QComboBox>(view, "Combo2");
  ASSERT_EQ(styles->count(), 2);

  // Picking "b" selects it and shows its levels.
  emit styles->activated(1);
  EXPECT_TRUE(app.s.style_name == "b" && styles->currentText() == "b");
  EXPECT_TRUE(widget<QLabel>(view, "Label4")->text().contains("19"));
}

TEST_F(Window, ResizesAreDebouncedThroughTheTimer) {
  app.host.fixed_time = 100;
  MainWindowView view(app.s, app.host, 15);
  view.show();
  pump(50);  // the first activation
  auto* tm1 = view.findChild<QTimer*>("tm1");
  ASSERT_NE(tm1, nullptr);
  EXPECT_FALSE(tm1->isActive());

  view.resize(700, 500);
  EXPECT_TRUE(app.s.last_resize_time == 100 && tm1->isActive());
  EXPECT_EQ(app.s.f1.width, view.frameGeometry().width() * 15);

  app.host.fixed_time = 100.3;  // a second resize restarts the wait
  view.resize(720, 520);
  app.host.fixed_time = 100.45;
  pump(150);
  EXPECT_TRUE(tm1->isActive() && app.s.f1.tm1.enabled);

  app.host.fixed_time = 100.6;  // quiet for more than 0.2 s: lay out once and stop
  pump(150);
  EXPECT_FALSE(tm1->isActive() || app.s.f1.tm1.enabled);
}

TEST_F(Window, TheHostsEventPumpAndCloseReachTheWindow) {
  app.s.style_name = "mine";
  {
    MainWindowView view(app.s, app.host, 15);
    qt::QtHost host;
    host.set_window(&view);
    view.show();
    app.s.f1.Label6.caption = "7";
    host.do_events();  // long loops let the window show their progress
    EXPECT_EQ(widget<QLabel>(view, "Label6")->text(), "7");

    host.close_main_window();  // as File, Exit does: closing saves the settings
    EXPECT_FALSE(view.isVisible());
  }
  EXPECT_EQ(app.dir.read("app/levels.dat").substr(0, 12), "cvrs\r\nmine\r\n");
  // The model no longer points at the closed window's surfaces.
  EXPECT_FALSE(app.s.f1.p1.has_surface());
}

}  // namespace
}  // namespace zw
