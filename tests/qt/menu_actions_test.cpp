// The window's menus: each real menu action reaches its command.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <filesystem>

#include "app/files.h"
#include "platform/qt/main_window_view.h"
#include "support/test_app.h"

namespace zw {
namespace {

QAction* action(qt::MainWindowView& view, const QString& caption) {
  for (QAction* a : view.menuBar()->findChildren<QAction*>())
    if (a->text() == caption) return a;
  ADD_FAILURE() << "no menu item " << caption.toStdString();
  static QAction none;
  return &none;
}

TEST(MenuActions, EachItemRunsItsCommand) {
  test::TestApp app;
  app.dir.write("map.txt", "[_line]\r\nType=0x01\r\nXpm=\"0 0 1 0\"\r\n\"0 c #ff0000\"\r\n[end]\r\n");
  qt::MainWindowView view(app.s, app.host, 15);
  auto& h = app.host;

  EXPECT_FALSE(action(view, "Open Style  File")->isEnabled());
  EXPECT_FALSE(action(view, "Print")->isEnabled());

  h.dialog_paths = {app.dir.at("map.txt")};
  action(view, "Open TYP file")->trigger();
  EXPECT_EQ(app.s.typ_file, app.dir.at("map.txt"));
  EXPECT_EQ(app.s.f1.label2.value, 1);

  h.dialog_paths = {app.dir.at("chart")};
  action(view, "Save Image")->trigger();
  EXPECT_TRUE(std::filesystem::exists(to_fs_path(app.dir.at("chart.bmp"))));

  action(view, "About")->trigger();
  action(view, "Change Font")->trigger();
  action(view, "Change Resolution to Level")->trigger();
  EXPECT_EQ(h.dialogs_shown, (std::vector<Dialog>{Dialog::about, Dialog::font, Dialog::convert}));

  h.shell_works = true;
  action(view, "Online Help")->trigger();
  ASSERT_FALSE(h.opened.empty());
  EXPECT_NE(h.opened.back().find("index.html"), std::string::npos);

  action(view, "Exit")->trigger();
  EXPECT_EQ(h.close_requests, 1);
}

}  // namespace
}  // namespace zw
