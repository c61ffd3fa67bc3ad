#include <gtest/gtest.h>

#include "app/check_handlers.h"
#include "app/main_window.h"
#include "base/paths.h"
#include "support/test_app.h"

// What the window shows follows the state behind it: the style and the root
// chosen, never what was on screen before (the window walk takes the rest).
namespace zw {
namespace {

const std::string lines_file =
    "highway=primary [0x01 resolution 16]\nhighway=track [0x0a resolution 20]\n"
    "highway=path [0x16 resolution 24]\n";

struct WindowState : ::testing::Test {
  WindowState() {
    app.style("a", {{"options", "levels = 0:24, 1:22, 2:20\noverview-levels = 3:18\n"},
                    {"lines", lines_file},
                    {"polygons", "landuse=forest [0x50 resolution 20]\n"},
                    {"points", ""}});
    app.style("b", {{"options", "levels = 0:24, 1:21\n"},
                    {"lines", lines_file},
                    {"polygons", ""},
                    {"points", ""}});
    app.style("c", {{"lines", lines_file}});
    app.dir.write("other/x/options", "levels = 0:23, 1:19\n");
    app.dir.write("other/x/lines", lines_file);
    app.dir.write("other/y/lines", lines_file);
    app.dir.write("empty/readme", "");
    app.select("a");
    app.click_kind(1);
    app.tick_category("Highway");
    app.check();
    app.host.messages.clear();
    // No box ticked: a new style or root is not charted, so rows seen after it are left over.
    for (auto& box : app.s.f1.Check1) box.value = 0;
  }
  void choose(const std::string& name) {
    app.s.f1.Combo2.text = name;
    Combo2_Click(app.s, app.host);
  }
  bool scale_marked() const {
    for (int r = 1; r <= 24; ++r)
      if (app.s.f1.Label3[static_cast<std::size_t>(r)].visible) return true;
    return false;
  }
  test::TestApp app;
};

TEST_F(WindowState, AnotherStyleTakesItsOwnLevelsAndLeavesNoChartBehind) {
  const struct {
    std::string style, levels;
    bool overview;
  } cases[] = {{"b", "Levels:0:24,1:21 + ", false},
               {"c", "Levels:", false},
               {"a", "Levels:0:24,1:22,2:20 + 3:18", true}};
  for (const auto& c : cases) {
    choose(c.style);
    EXPECT_EQ(app.s.f1.Label4.caption, c.levels) << c.style;
    EXPECT_EQ(!app.s.levels.overview_res.empty(), c.overview) << c.style;
    EXPECT_EQ(app.s.result_count, 0) << c.style;
    EXPECT_FALSE(scale_marked()) << c.style;
    EXPECT_TRUE(app.s.f1.caption.ends_with(" " + c.style)) << app.s.f1.caption;
  }
}

TEST_F(WindowState, ANewRootSelectsItsFirstStyleOrNone) {
  const struct {
    std::string root, style, list, levels;
  } cases[] = {{"other", "x", "x", "Levels:0:23,1:19 + "},
               {"empty", "", "No Styles", "Levels:"},
               {"styles", "a", "a", "Levels:0:24,1:22,2:20 + 3:18"}};
  for (const auto& c : cases) {
    choose_style_root(app.s, app.host, app.dir.at(c.root));
    EXPECT_EQ(app.s.style_name, c.style) << c.root;
    EXPECT_EQ(app.s.f1.Combo2.text, c.list) << c.root;
    EXPECT_EQ(app.s.f1.Label4.caption, c.levels) << c.root;
    EXPECT_EQ(app.s.result_count, 0) << c.root;
  }
  // No message ever named a style under a root it does not belong to.
  for (const auto& m : app.host.messages) ADD_FAILURE() << m;
  // The same root again keeps the style chosen in it.
  choose("b");
  choose_style_root(app.s, app.host, app.dir.at("styles"));
  EXPECT_EQ(app.s.style_name, "b");
}

TEST_F(WindowState, AValueThatIsNoNumberIsNamedByFileAndLine) {
  app.style("bad", {{"options", "# levels\nlevels = 0:24, 1:2x\n"}, {"lines", lines_file}});
  choose("bad");
  EXPECT_EQ(app.said(paths::join(app.dir.at("styles/bad"), "options") + ", line 2: Type mismatch"),
            1)
      << (app.host.messages.empty() ? "" : app.host.messages.back());
}

}  // namespace
}  // namespace zw
