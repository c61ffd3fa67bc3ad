#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "app/window_tables.h"
#include "support/test_app.h"

namespace zw {
namespace {

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

}  // namespace
}  // namespace zw
