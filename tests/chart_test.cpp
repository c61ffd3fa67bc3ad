#include <gtest/gtest.h>

#include <cmath>

#include "chart/chart.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::RecordingSurface;
using test::TestApp;
using Kind = RecordingSurface::Op::Kind;

constexpr Colour grey = rgb(100, 100, 100), faded = rgb(180, 180, 180),
                 cont_grey = rgb(120, 120, 140), green = rgb(0, 128, 0),
                 bright_green = rgb(0, 255, 0), red = rgb(128, 0, 0);

struct R {
  int from = 20, to = 24;
  bool cont = false;
  std::string type = "3C", line = "7", text = "natural=water";
};

// A chart with five columns of exactly 1000 twips: lowest resolution 20, so
// X(r) = (r - 20) * 1000 + 600; text is 200 high, so row n sits at 500 n + 80.
struct Chart : ::testing::Test {
  void SetUp() override {
    auto& f = app.s.f1;
    f.vs.bounds.width = 255;
    f.p2.set_size(2 * 255 + 600 + 5 * 1000, 3000);
    f.p3.set_size(f.p2.width(), 400);
    f.p3.top = 2000;
    f.height = 4000;  // the window adds nothing to the canvas height
    app.s.lowest_resolution = 20;
    app.s.levels = {};
    app.s.selected_kind = 0;
    app.host.date = "2026-12-06";
  }
  void rows(const std::vector<R>& rs) {
    auto& t = app.s.results;
    auto k = static_cast<std::size_t>(app.s.selected_kind);
    for (std::size_t i = 0; i < rs.size(); ++i) {
      t.res_from[k][i] = static_cast<std::uint8_t>(rs[i].from);
      t.res_to[k][i] = static_cast<std::uint8_t>(rs[i].to);
      t.rule_continue[k][i] = rs[i].cont;
      t.rule_type[k][i] = rs[i].type;
      t.rule_line[k][i] = rs[i].line;
      t.rule_text[k][i] = rs[i].text;
    }
    app.s.result_count = static_cast<int>(rs.size());
  }
  void main_levels(std::vector<std::uint8_t> res) {
    app.s.levels.level_res = res;
    app.s.levels.main_level_last = static_cast<int>(res.size()) - 1;
  }
  void plot(int count = -1) { zw::plot(app.s, app.host, count < 0 ? app.s.result_count : count); }
  std::vector<RecordingSurface::Op> fills() { return app.p1.of(Kind::fill); }
  TestApp app;
};

TEST_F(Chart, BarsAndStopTicksSitOnTheirRowsAndColumns) {
  struct Case {
    R row;
    bool show_text;
    int n;  // position of the row among the drawn rows
    double x1, y1, x2;
    bool tick;
  } cases[] = {
      {{20, 24, false}, true, 0, 600, 80 + 350, 5600, true},
      {{20, 24, false}, false, 0, 600, 80 + 170, 5600, true},
      {{22, 22, true}, true, 0, 2600, 80 + 350, 3600, false},  // one column, no tick
      {{21, 23, false}, false, 3, 1600, 1580 + 170, 4600, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row.from << "-" << c.row.to << " text " << c.show_text);
    app.s.f1.shtxt.value = c.show_text ? 1 : 0;
    std::vector<R> rs(static_cast<std::size_t>(c.n), R{});
    rs.push_back(c.row);
    rows(rs);
    plot();
    auto f = fills();
    ASSERT_GE(f.size(), static_cast<std::size_t>(2 * c.n + 1));
    const auto& bar = f[static_cast<std::size_t>(2 * c.n)];
    EXPECT_EQ(bar.x1, c.x1);
    EXPECT_EQ(bar.y1, c.y1);
    EXPECT_EQ(bar.x2, c.x2);
    EXPECT_EQ(bar.y2, c.y1 + 30);
    bool has_tick = f.size() > static_cast<std::size_t>(2 * c.n + 1);
    EXPECT_EQ(has_tick, c.tick);
    if (has_tick) {
      const auto& tick = f[static_cast<std::size_t>(2 * c.n + 1)];
      EXPECT_EQ(tick.x1, c.x2 - 10);
      EXPECT_EQ(tick.y1, c.y1 - 80);
      EXPECT_EQ(tick.x2, c.x2 + 20);
      EXPECT_EQ(tick.y2, c.y1 + 100);
      EXPECT_EQ(tick.colour, bar.colour);
    }
  }
}

TEST_F(Chart, BarColourFollowsKindTypeContinueSortAndLevels) {
  struct Case {
    const char* why;
    int kind;
    std::string type;
    int from;
    bool cont, sort;
    Colour expected;
  } cases[] = {
      {"plain polygon", 0, "3C", 22, false, false, grey},
      {"continuing, unsorted", 0, "3C", 22, true, false, faded},
      {"continuing, sorted", 0, "3C", 22, true, true, cont_grey},
      {"line 17 is a road", 1, "17", 22, false, false, green},
      {"continuing road", 1, "01", 22, true, false, bright_green},
      {"continuing road, sorted", 1, "01", 22, true, true, bright_green},
      {"line 14 stays grey", 1, "14", 22, false, false, grey},
      {"line 15 stays grey", 1, "15", 22, false, false, grey},
      {"line 18 is no road", 1, "18", 22, false, false, grey},
      {"only lines turn green", 0, "01", 22, false, false, grey},
      {"untyped line", 1, "", 22, false, false, grey},
      {"below the last main level", 0, "3C", 21, false, false, red},
      {"red over green", 1, "01", 21, true, false, red},
      {"red over faded", 0, "3C", 21, true, false, red},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    main_levels({24, 22});  // last main level at 22
    app.s.selected_kind = static_cast<std::int16_t>(c.kind);
    app.s.f1.Check2.value = c.sort ? 1 : 0;
    rows({{c.from, 24, c.cont, c.type}});
    plot();
    ASSERT_FALSE(fills().empty());
    EXPECT_EQ(fills()[0].colour, c.expected);
  }
}

TEST_F(Chart, AStyleWithoutMainLevelsDrawsNoRedAndReportsNothing) {
  rows({{20, 24}, {21, 24}});
  plot();
  EXPECT_EQ(fills()[0].colour, grey);
  EXPECT_TRUE(app.host.messages.empty());
}

TEST_F(Chart, RowTextsStandAfterTheBarInOrder) {
  app.s.f1.shtxt.value = 1;
  rows({{21, 24, false, "2F06", "12", "amenity=fuel"}});
  plot();
  auto t = app.p1.of(Kind::text);
  ASSERT_EQ(t.size(), 5u);  // resolution, type, line, rule text, credit
  // " 21" in bold at (670, 180); the type half of "000" further on.
  EXPECT_EQ(t[0].text, " 21");
  EXPECT_TRUE(t[0].bold);
  EXPECT_EQ(t[0].x1, 670);
  EXPECT_EQ(t[0].y1, 180);
  EXPECT_EQ(t[1].text, "2F06");
  EXPECT_FALSE(t[1].bold);
  EXPECT_EQ(t[1].x1, 670 + 300 + 150);
  EXPECT_EQ(t[1].colour, colours::black);
  EXPECT_EQ(t[2].text, "12  ");
  EXPECT_EQ(t[2].x1, 1120 + 500);
  EXPECT_EQ(t[2].colour, rgb(90, 90, 140));
  EXPECT_EQ(t[3].text, "amenity=fuel ");
  EXPECT_EQ(t[3].x1, 1620 + 400);
  EXPECT_EQ(t[3].colour, colours::black);
  EXPECT_FALSE(app.p1.bold());

  app.s.f1.shtxt.value = 0;
  plot();
  EXPECT_EQ(app.p1.texts().size(), 4u);  // no rule text
}

TEST_F(Chart, FiltersLeaveNoGapsAndTheCreditLineCountsEveryRow) {
  struct Case {
    const char* why;
    bool overview_only;
    std::vector<std::uint8_t> overview;
    std::vector<std::string> drawn;
  } cases[] = {
      {"no filter", false, {21}, {" 20", " 22", " 21"}},
      {"overview only", true, {21}, {" 20", " 21"}},
      {"overview only without overview levels", true, {}, {" 20", " 22", " 21"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    app.s.f1.ovw.value = c.overview_only ? 1 : 0;
    app.s.levels.overview_res = c.overview;
    // The row below the lowest resolution is never drawn.
    rows({{20, 24}, {22, 24}, {19, 24}, {21, 24}});
    plot();
    auto t = app.p1.of(Kind::text);
    std::vector<std::string> res;
    for (std::size_t i = 0; i < t.size(); ++i)
      if (t[i].bold) {
        res.push_back(t[i].text);
        EXPECT_EQ(t[i].y1, 500.0 * static_cast<double>(res.size() - 1) + 180);
      }
    EXPECT_EQ(res, c.drawn);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back().text, "\tCharted with Zoomwright 2.51   2026-12-06");
    EXPECT_EQ(t.back().x1, 30);
    EXPECT_EQ(t.back().y1, 200 * 5 * 2.5 + 100);  // four rows passed
  }
}

TEST_F(Chart, GridLinesComeAfterTheRowsAndEndAtTheLastRow) {
  rows({{20, 24}, {23, 24}});
  plot();
  const auto& ops = app.p1.ops;
  std::size_t last_fill = 0, first_line = ops.size();
  for (std::size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].kind == Kind::fill) last_fill = i;
    if (ops[i].kind == Kind::line && first_line == ops.size()) first_line = i;
  }
  EXPECT_LT(last_fill, first_line);
  auto lines = app.p1.of(Kind::line);
  ASSERT_EQ(lines.size(), 6u);  // boundaries 20 .. 25
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].x1, 600 + 1000.0 * static_cast<double>(i));
    EXPECT_EQ(lines[i].y1, 0);
    EXPECT_EQ(lines[i].y2, 580 + 100 + 200);
    EXPECT_EQ(lines[i].colour, rgb(220, 220, 220));
  }
  auto ticks = app.p3.of(Kind::fill);
  ASSERT_EQ(ticks.size(), 6u);
  EXPECT_EQ(ticks[5].x1, 5600);
  EXPECT_EQ(ticks[5].y2, 400);
  EXPECT_EQ(ticks[5].colour, colours::black);
}

TEST_F(Chart, AnEmptyChartHasTicksButNoRowsNorCredit) {
  rows({{20, 24}});
  plot(0);
  EXPECT_TRUE(app.p1.texts().empty());
  EXPECT_TRUE(fills().empty());
  auto lines = app.p1.of(Kind::line);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].y2, 0);
  EXPECT_EQ(app.p3.of(Kind::fill).size(), 6u);
  EXPECT_FALSE(app.host.busy());
}

TEST_F(Chart, TheTopResolutionAloneHasTwoBoundaries) {
  app.s.lowest_resolution = 24;
  rows({{24, 24}});
  plot();
  auto lines = app.p1.of(Kind::line);
  ASSERT_EQ(lines.size(), 2u);
  int w = 2 * 255 + 600 + 5000 - 2 * 255 - 600;  // the whole usable width
  EXPECT_EQ(lines[1].x1 - lines[0].x1, w);
  EXPECT_EQ(fills()[0].x2 - fills()[0].x1, w);
}

TEST_F(Chart, CanvasHeightCoversTheRowsTheWindowAndThePane) {
  struct Case {
    int count, window_height, p3_top, p2_height, expected;
  } cases[] = {
      {10, 1000, 0, 500, 6000},      // (10 + 2) * 200 * 2.5
      {10, 9000, 1000, 500, 8000},   // the window below the strip is taller
      {10, 1000, 0, 7000, 7000},     // never lower than the pane
      {0, 500, 0, 300, 1000},        // two rows' worth even when empty
      {0, 2000, 0, 300, 2000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.count);
    auto& f = app.s.f1;
    f.height = c.window_height;
    f.p3.top = c.p3_top;
    f.p2.set_height(c.p2_height);
    rows(std::vector<R>(static_cast<std::size_t>(c.count), R{}));
    plot();
    EXPECT_EQ(f.p1.height(), c.expected);
    EXPECT_EQ(app.p1.height_, c.expected);
  }
}

TEST_F(Chart, MissingTypSwatchesAreMarked) {
  app.s.typ_file = "x.txt";
  app.s.f1.label2.value = 1;
  app.s.f1.Check3[0].value = 1;
  rows({{20, 24}, {21, 24}});
  plot();
  std::vector<std::pair<double, double>> marks;
  for (const auto& t : app.p1.of(Kind::text))
    if (t.text == "?") marks.push_back({t.x1, t.y1});
  EXPECT_EQ(marks, (std::vector<std::pair<double, double>>{{180, 80}, {180, 580}}));

  app.s.f1.Check3[0].value = 0;  // no kind box ticked: no swatch at all
  plot();
  for (const auto& t : app.p1.texts()) EXPECT_NE(t, "?");
}

// resize_ with a canvas of a given height and no rows to draw.
struct Resize : Chart {
  void SetUp() override {
    Chart::SetUp();
    auto& f = app.s.f1;
    f.width = 6110;
    f.height = 5800;
    f.p2.top = 2000;  // p2 becomes 5800 - 800 - 2000 = 3000 high
    app.host.border_px = 0;
  }
};

TEST_F(Resize, ScrollRangeAndStepsFollowTheOverflow) {
  struct Case {
    int canvas, max, small, large;
  } cases[] = {
      {3000 + 7, 0, -1, -1},        // less than 8 taller: no range
      {3000 + 8, 25, 1, 2},         // 2.5 goes to 2, 1.25 to 1
      {3000 + 18, 35, 2, 4},        // 3.5 goes to 4, 1.75 to 2
      {3000 + 1000, 1017, 51, 102},
      {3000 + 32750, 32767, 1638, 3277},
      {3000 + 32751, 32757, 1638, 3276},  // beyond 32767
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.canvas);
    auto& f = app.s.f1;
    f.vs.small_change = f.vs.large_change = -1;
    f.vs.enabled = false;
    f.p1.set_height(c.canvas);
    resize_(app.s, app.host);
    EXPECT_EQ(f.p2.height(), 3000);
    EXPECT_EQ(f.vs.max, c.max);
    EXPECT_EQ(f.vs.small_change, c.small);
    EXPECT_EQ(f.vs.large_change, c.large);
    EXPECT_TRUE(f.vs.enabled);
    EXPECT_FALSE(app.s.scan_busy);
  }
}

TEST_F(Resize, PanesFitTheWindowInsideItsFrame) {
  auto& f = app.s.f1;
  app.host.border_px = 4;  // 60 twips each side
  f.p1.set_height(9000);
  resize_(app.s, app.host);
  EXPECT_EQ(f.p1.width(), 6110 - 120);
  EXPECT_EQ(f.p2.width(), 6110 - 120);
  EXPECT_EQ(f.p3.width(), 6110 - 120);
  EXPECT_EQ(f.vs.bounds.left, 6110 - 120 - 255);
  EXPECT_EQ(f.vs.bounds.height, 3000);
}

TEST_F(Resize, ScaleLabelsAreLaidOutOnlyWithARange) {
  auto& f = app.s.f1;
  for (auto& l : f.Label3) l = Label{}, l.visible = false;
  f.p1.set_height(3000);  // no overflow
  resize_(app.s, app.host);
  EXPECT_EQ(f.Label3[20].caption, "");
  EXPECT_FALSE(f.Label3[20].visible);

  f.width = 6110 + 2;  // columns of 1000.4 twips: the fraction is kept
  f.p1.set_height(5000);
  f.Label3[21].caption = "21 junk";
  f.Label3[22].caption = "22 L1";  // a level mark
  resize_(app.s, app.host);
  for (int r = 20; r <= 24; ++r) {
    const auto& l = f.Label3[static_cast<std::size_t>(r)];
    EXPECT_EQ(l.caption, r == 22 ? "22 L1" : std::to_string(r));
    EXPECT_TRUE(l.visible);
    EXPECT_EQ(l.bounds.width, 1000);
    EXPECT_EQ(l.bounds.left, static_cast<int>(std::lround((r - 20) * 1000.4 + 600)));
  }
  EXPECT_EQ(f.Label3[19].caption, "");
}

TEST_F(Resize, TheRangeFitsTheChartAboutToBeDrawn) {
  auto& f = app.s.f1;
  f.p1.set_height(3000);  // what the previous, empty chart left
  rows(std::vector<R>(40, R{}));
  resize_(app.s, app.host);
  // 42 rows of 500 twips; the scroll range is the overflow of that canvas.
  EXPECT_EQ(f.p1.height(), 21000);
  EXPECT_EQ(f.vs.max, 21000 - 3000 + 17);
  EXPECT_EQ(app.p1.texts().size(), 40u * 3 + 1);
  EXPECT_FALSE(app.host.busy());
}

TEST(ChartScroll, TheCanvasMovesByItsShareOfTheOverflow) {
  struct Case {
    int p1, p2, value, max, top;
  } cases[] = {
      {9000, 3000, 0, 6017, 0},
      {9000, 3000, 6017, 6017, -6000},
      {9000, 3000, 1000, 6017, -997},
      {9000, 3000, 5, 0, 0},  // no range: back to the top
      {2000, 3000, 25, 50, -500},  // a canvas lower than the pane still moves by the difference
  };
  for (const auto& c : cases) {
    TestApp app;
    auto& f = app.s.f1;
    f.p1.set_height(c.p1);
    f.p2.set_height(c.p2);
    f.p1.top = 77;
    f.vs.value = c.value;
    f.vs.max = c.max;
    vs_Scroll(app.s, app.host);
    EXPECT_EQ(f.p1.top, c.top) << c.value << "/" << c.max;
  }
}

}  // namespace
}  // namespace zw
