#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/check_handlers.h"
#include "levels/categories.h"
#include "base/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

Strings shown(const AppState& s) {
  Strings out;
  for (const auto& b : s.f1.Check1)
    if (b.visible) out.push_back(b.caption);
  return out;
}

TEST(CategoryFiles, DefaultsFillTheBoxesAndAreWrittenOnceAndRewrittenByCtrlR) {
  test::TestApp app;
  app.click_kind(1);
  auto boxes = shown(app.s);
  ASSERT_EQ(boxes.size(), 21u);
  EXPECT_EQ(boxes.front(), "All");
  auto polygons = app.dir.read("app/system/polygons.res");
  const std::string mine = "<mkgmap>polygons</mkgmap>\n<tag>Mine</tag>\n";
  app.dir.write("app/system/polygons.res", mine);
  savefiles(app.s, app.host, false);
  EXPECT_EQ(app.dir.read("app/system/polygons.res"), mine);
  Form_KeyPress(app.s, app.host, 18);
  EXPECT_EQ(app.dir.read("app/system/polygons.res"), polygons);
}

TEST(CategoryFiles, ReaderRules) {
  std::string many = "points\n<tag>";
  Strings twenty{"All"};
  for (int i = 1; i <= 23; ++i) {
    many += (i > 1 ? ",c" : "c") + std::to_string(i);
    if (i <= 20) twenty.push_back('c' + std::to_string(i));
  }
  const struct {
    std::string content;
    Strings boxes, messages;
  } cases[] = {
      {"points\n<tag>Shop,all,Sport</tag>\n", {"All", "Shop", "Sport"}, {}},
      {"points\n <tag>A,B</tag>\n", {"All", ">A", "B"}, {}},
      {"points\r\n<tag>A</tag>\r\n<tag>B,C</tag>\r\n", {"All", "B", "C"}, {}},
      // The boxes that there are take the first categories; the file names the rest.
      {many + "</tag>\n",
       twenty,
       {"FILE names more categories than the window has boxes (20); left out: c21, c22, c23"}},
      {"points\n<tag>A,B\n", {}, {"</tag> missing"}},
      {"<mkgmap>lines</mkgmap>\n<tag>A</tag>\n", {"All", "Aa"}, {"Not a valid res file."}},
  };
  for (const auto& c : cases) {
    test::TestApp app;
    app.s.f1.Check1[0].caption = "All";
    app.s.f1.Check1[1].caption = "Aa";
    for (int i = 2; i < category_boxes; ++i)
      app.s.f1.Check1[static_cast<std::size_t>(i)].visible = false;
    app.dir.write("app/system/points.res", c.content);
    loadop(app.s, app.host, category_file(app.s, 2), "points");
    EXPECT_EQ(shown(app.s), c.boxes) << c.content;
    for (auto& m : app.host.messages) m = text::replace_all(m, category_file(app.s, 2), "FILE");
    EXPECT_EQ(app.host.messages, c.messages) << c.content;
  }
  test::TestApp app;
  loadop(app.s, app.host, app.dir.at("nope.res"), "points");
  EXPECT_EQ(app.host.messages, Strings{"Cannot locate " + app.dir.at("nope.res")});
}

TEST(Boxes, KindsKeepOrClearTheTicksAndAllExcludesTheSingleCategories) {
  test::TestApp app;
  auto& f = app.s.f1;
  auto ticks = [&](std::vector<std::size_t> boxes) {
    std::vector<int> out;
    for (auto i : boxes) out.push_back(f.Check1[i].value);
    return out;
  };
  app.click_kind(1);
  app.tick_category("Motorway");
  app.click_kind(1);  // clicking the ticked kind keeps it and the ticks
  EXPECT_EQ(f.Check3[1].value, 1);
  EXPECT_EQ(ticks({2}), std::vector<int>{1});
  app.click_kind(2);
  EXPECT_EQ((std::vector<int>{f.Check3[1].value, f.Check3[2].value, f.Check1[2].value}),
            (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(app.s.selected_kind, 2);
  f.Check1[0].value = 1;
  f.Check1[3].value = 1;
  app.click_kind(1);  // "All" keeps the ticks
  EXPECT_EQ(ticks({3}), std::vector<int>{1});
  // A category unticking "All": the window walk's kinds step.
  f.Check1[2].value = 1;
  Check1_MouseUp(app.s, app.host, 0);  // "All" unticks the categories
  EXPECT_EQ(ticks({0, 2, 3}), (std::vector<int>{1, 0, 0}));
  for (int on : {1, 0}) {
    f.Check4.value = on;
    Check4_MouseUp(app.s, app.host);
    EXPECT_EQ(f.Text2.enabled, on == 1);
  }
}

}  // namespace
}  // namespace zw
