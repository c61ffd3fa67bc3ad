#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "app/window_tables.h"
#include "support/test_app.h"

namespace zw {
namespace {

const Control& row(const WindowTable& t, const std::string& name) {
  for (const auto& c : t.controls)
    if (c.name == name) return c;
  throw std::runtime_error("no control " + name);
}

// Both bindings find controls by name and build a container before what sits
// on it: a repeated name or a container listed late would misplace a control.
TEST(WindowTables, NamesAreUniqueAndContainersComeFirst) {
  test::TestApp app;
  std::vector<std::pair<const char*, WindowTable>> tables = {
      {"main", main_window_table(app.s, app.host)},
      {"font", dialog_table(app.s, app.host, Dialog::font)},
      {"about", dialog_table(app.s, app.host, Dialog::about)},
      {"convert", dialog_table(app.s, app.host, Dialog::convert)},
      {"typ check", dialog_table(app.s, app.host, Dialog::typ_check)},
  };
  std::set<char> keys;
  std::set<std::string> menus;
  for (const auto& [window, t] : tables) {
    std::set<std::string> seen;
    ASSERT_FALSE(t.controls.empty()) << window;
    EXPECT_EQ(t.controls.front().kind, ControlKind::form) << window;
    for (const auto& c : t.controls) {
      EXPECT_TRUE(seen.insert(c.name).second) << window << ": " << c.name << " twice";
      // Each menu is reached by its own access key.
      if (c.kind == ControlKind::menu_item) {
        auto amp = c.container.find('&');
        ASSERT_NE(amp, std::string::npos) << c.container;
        keys.insert(static_cast<char>(std::tolower(c.container.at(amp + 1))));
        menus.insert(c.container);
      }
      if (!c.container.empty() && c.kind != ControlKind::menu_item) {
        EXPECT_TRUE(seen.count(c.container))
            << window << ": " << c.name << " before " << c.container;
      }
    }
  }
  EXPECT_EQ(keys.size(), menus.size());
}

// Every option box redraws a drawn chart, whichever window it is ticked in.
TEST(WindowTables, EachOptionBoxRedrawsTheChart) {
  test::TestApp app;
  app.dir.copy(test::example_style(), "styles/example");
  app.select("example");
  app.click_kind(1);
  app.tick_category("All");
  app.check();
  ASSERT_GT(app.s.result_count, 0);
  auto table = main_window_table(app.s, app.host);
  for (const char* name : {"inc", "ovw", "shtxt", "label2"}) {
    app.p1.ops.clear();
    UserInput in;
    EXPECT_TRUE(row(table, name).fire(UserEvent::click, in)) << name;
    EXPECT_FALSE(app.p1.ops.empty()) << name << " did not redraw";
  }
}

}  // namespace
}  // namespace zw
