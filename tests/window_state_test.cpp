#include <gtest/gtest.h>

#include "app/check_handlers.h"
#include "app/main_window.h"
#include "base/paths.h"
#include "chart/chart.h"
#include "convert/convert_style.h"
#include "support/test_app.h"

// What the window shows follows the state behind it: the style, the root, the
// kind and the filters chosen, never what was on screen before.
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
  }
  void choose(const std::string& name) {
    app.s.f1.Combo2.text = name;
    Combo2_Click(app.s, app.host);
  }
  std::array<int, 3> kinds() const {
    const auto& k = app.s.f1.Check3;
    return {k[0].value, k[1].value, k[2].value};
  }
  bool scale_marked() const {
    for (int r = 1; r <= 24; ++r)
      if (app.s.f1.Label3[static_cast<std::size_t>(r)].visible) return true;
    return false;
  }
  test::TestApp app;
};

TEST_F(WindowState, AChartOfTheChosenStyleKindAndFilters) {
  ASSERT_EQ(app.s.result_count, 3);
  ASSERT_EQ(app.s.f1.label1.caption, "3");
  auto tall = app.s.f1.p1.height();

  // Overview Only: the counter, the canvas and its scroll range fit the rows drawn.
  app.s.f1.ovw.value = 1;
  option_toggled(app.s, app.host);
  EXPECT_EQ(app.s.f1.label1.caption, "1");
  EXPECT_LE(app.s.f1.p1.height(), tall);
  EXPECT_EQ(app.s.f1.p1.height(), canvas_height(app.s, app.host, 1));

  // Another kind: nothing of the lines' chart stays under the polygons' boxes.
  app.click_kind(0);
  EXPECT_EQ(kinds(), (std::array<int, 3>{1, 0, 0}));
  EXPECT_EQ(app.s.result_count, 0);
  EXPECT_EQ(app.s.f1.label1.caption, "0");
  EXPECT_FALSE(scale_marked());
  // A click on the kind already charted keeps it, and it alone, ticked.
  app.s.f1.Check3[1].value = 1;
  app.click_kind(0);
  EXPECT_EQ(kinds(), (std::array<int, 3>{1, 0, 0}));
}

TEST_F(WindowState, AnotherStyleTakesItsOwnLevelsAndLeavesNoChartBehind) {
  app.s.f1.Check1[0].value = 0;
  for (auto& box : app.s.f1.Check1) box.value = 0;
  struct Case {
    std::string style, levels;
    bool overview;
  };
  for (const auto& c : {Case{"b", "Levels:0:24,1:21 + ", false}, Case{"c", "Levels:", false},
                        Case{"a", "Levels:0:24,1:22,2:20 + 3:18", true}}) {
    choose(c.style);
    EXPECT_EQ(app.s.f1.Label4.caption, c.levels) << c.style;
    EXPECT_EQ(!app.s.levels.overview_res.empty(), c.overview) << c.style;
    EXPECT_EQ(app.s.result_count, 0) << c.style;
    EXPECT_FALSE(scale_marked()) << c.style;
    EXPECT_TRUE(app.s.f1.caption.ends_with(" " + c.style)) << app.s.f1.caption;
  }
}

TEST_F(WindowState, ANewRootSelectsItsFirstStyleOrNone) {
  for (auto& box : app.s.f1.Check1) box.value = 0;
  struct Case {
    std::string root, style, list, levels;
  };
  for (const auto& c :
       {Case{"other", "x", "x", "Levels:0:23,1:19 + "}, Case{"empty", "", "No Styles", "Levels:"},
        Case{"styles", "a", "a", "Levels:0:24,1:22,2:20 + 3:18"}}) {
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

TEST_F(WindowState, AConversionKeepsTheKindCharted) {
  app.s.new_style_name = "a2";
  ASSERT_NE(convert_style(app.s, app.host), Converted::refused);
  EXPECT_EQ(app.s.selected_kind, 1);
  EXPECT_EQ(kinds(), (std::array<int, 3>{0, 1, 0}));
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
