// The window binding: widgets mirror the model, widget events run the handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QThread>

#include "app/main_window.h"
#include "platform/qt/control_widgets.h"
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

struct Window : ::testing::Test {
  TestApp app;
};

TEST(Twips, BecomePixelsAtTheScreensLogicalDpi) {
  struct Case {
    double twips, dpi;
    int pixels;
  } cases[] = {{7, 96, 0}, {8, 96, 1}, {-300, 96, -20}, {255, 144, 26}};
  for (const auto& c : cases)
    EXPECT_EQ(qt::to_pixels(c.twips, qt::twips_per_pixel_at(c.dpi)), c.pixels)
        << c.twips << " twips at " << c.dpi << " dpi";
  EXPECT_EQ(qt::twips_per_pixel_at(0), 15.0);  // no screen: the common 96 dpi
}

TEST_F(Window, WidgetsShowTheModelAfterSync) {
  MainWindowView view(app.s, app.host, 15);
  auto& f = app.s.f1;
  // Captions, bold labels and the title: the window walk compares them with the model.
  f.Check1[3].value = 1, f.Check1[4].visible = false;
  f.Combo1.items = {"Arial"}, f.Combo1.text = "No Such Font";
  f.mf[12].enabled = false;
  view.sync();

  auto* box = widget<QCheckBox>(view, "Check1(3)");
  EXPECT_TRUE(box->isChecked());
  EXPECT_FALSE(widget<QCheckBox>(view, "Check1(4)")->isVisibleTo(&view));
  // A shown text that is no item of the list still shows.
  auto* fonts = widget<QComboBox>(view, "Combo1");
  EXPECT_TRUE(fonts->currentIndex() == -1 && fonts->placeholderText() == "No Such Font");
  int greyed = 0;
  for (auto* action : view.findChildren<QAction*>())
    if (action->text() == "Print" || action->text() == "Open Style  File")
      greyed += action->isEnabled() ? 0 : 1;
  EXPECT_EQ(greyed, 2);

  // Unticking in the model unticks the widget; syncing twice changes nothing.
  f.Check1[3].value = 0;
  view.sync(), view.sync();
  EXPECT_TRUE(!box->isChecked() && fonts->count() == 1);

  // The model moving the scroll bar is no user action: nothing is written back.
  f.vs.max = 400, f.vs.value = 100;
  view.sync();
  f.vs.value = 0;
  view.sync();
  EXPECT_TRUE(widget<QScrollBar>(view, "vs")->value() == 0 && f.vs.value == 0);
  EXPECT_EQ(view.controls().events_handled(), std::vector<int>(view.controls().table().size(), 0));
}

// File, Exit closing the window and saving the settings: the window walk's Exit and restart.
TEST_F(Window, TheHostsEventPumpShowsTheModelNowAndThen) {
  {
    MainWindowView view(app.s, app.host, 15);
    qt::QtHost host;
    host.set_window(&view);
    view.show();
    auto* shown = widget<QLabel>(view, "Label6");
    // Long loops let events run thousands of times: the window follows the
    // model once a moment has passed since it last did.
    pump(50);  // the first activation
    view.sync();
    QThread::msleep(MainWindowView::sync_interval_ms + 10);
    app.s.f1.Label6.caption = "7";
    host.do_events();
    EXPECT_EQ(shown->text(), "7");
    app.s.f1.Label6.caption = "8";
    QElapsedTimer clock;
    clock.start();
    host.do_events();
    if (clock.elapsed() < MainWindowView::sync_interval_ms) {
      EXPECT_EQ(shown->text(), "7");  // not yet: the last sync was a moment ago
    }
  }
  // The model no longer points at the closed window's surfaces.
  EXPECT_FALSE(app.s.f1.p1.has_surface());
}

// A chart of thousands of rows holds only the part in view; scrolling to the
// end draws the last rows there, and the widget shows them where they belong.
TEST_F(Window, ATallChartDrawsThePartInViewAsItScrolls) {
  std::string rules;
  for (int i = 0; i < 3000; ++i) rules += "a=" + std::to_string(i) + " [0x01 resolution 20]\n";
  app.style("big", {{"options", "levels = 0:24, 1:20\n"}, {"lines", rules}});
  MainWindowView view(app.s, app.host, 15);
  view.show();
  pump(50);
  app.select("big");
  app.click_kind(1);
  app.s.f1.Check1[0].value = 1;
  app.check();
  view.sync();
  auto& f = app.s.f1;
  ASSERT_EQ(app.s.result_count, 3000);
  ASSERT_TRUE(f.p1.banded());
  auto* chart = widget<qt::PictureView>(view, "p1");
  const auto& surface = chart->surface();
  EXPECT_EQ(surface.band_top_pixels(), 0);
  // Far less than the whole canvas is held.
  EXPECT_LT(surface.pixel_height() * 10, qt::to_pixels(f.p1.height(), 15));

  auto* bar = widget<QScrollBar>(view, "vs");
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  view.sync();
  EXPECT_GT(surface.band_top_pixels(), 0);
  EXPECT_LT(chart->y(), 0);
  // The last row's line reference is in the held band, drawn in its colour.
  int marked = 0;
  const QImage& held = surface.qimage();
  for (int y = 0; y < held.height(); ++y)
    for (int x = 0; x < held.width(); ++x) marked += held.pixel(x, y) == qRgb(90, 90, 140);
  EXPECT_GT(marked, 0);
  // What the widget shows at the bottom of the pane is that band.
  QRect pane(0, -chart->y(), chart->width(), 200);
  QImage shown = chart->grab(pane).toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, held.copy(pane.translated(0, -surface.band_top_pixels())));
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  view.sync();
  EXPECT_EQ(surface.band_top_pixels(), 0);
}

// A double-click on the chart reaches its handler with the place, in twips.
TEST_F(Window, ADoubleClickOnTheChartAsksAboutItsRow) {
  MainWindowView view(app.s, app.host, 15);
  view.sync();
  auto* chart = widget<qt::PictureView>(view, "p1");
  QPointF at(10, 20);
  QMouseEvent click(QEvent::MouseButtonDblClick, at, chart->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(chart, &click);
  EXPECT_EQ(app.s.f1.p1.mouse_y, 300);
  EXPECT_EQ(app.host.messages, (Strings{"Open a data file first: File > Open Data file"}));
}

}  // namespace
}  // namespace zw
