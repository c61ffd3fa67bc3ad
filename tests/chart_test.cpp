#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "chart/chart.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::RecordingSurface;
using test::TestApp;
using Kind = RecordingSurface::Op::Kind;
using Box = std::array<double, 4>;
constexpr Colour grey = rgb(100, 100, 100), faded = rgb(180, 180, 180),
                 cont_grey = rgb(120, 120, 140), green = rgb(0, 128, 0),
                 bright_green = rgb(0, 255, 0), red = rgb(128, 0, 0);

Box box(const RecordingSurface::Op& o) {
  return {o.x1, o.y1, o.x2, o.y2};
}

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
    app.host.date = "2026-12-06";
  }
  void rows(const std::vector<R>& rs) {
    auto& t = app.s.results;
    auto k = static_cast<std::size_t>(app.s.selected_kind);
    for (std::size_t i = 0; i < rs.size(); ++i) {
      t.res_from[k][i] = static_cast<std::uint8_t>(rs[i].from);
      t.res_to[k][i] = static_cast<std::uint8_t>(rs[i].to);
      t.rule_continue[k][i] = rs[i].cont;
      t.rule_type[k].set(i, rs[i].type);
      t.rule_line[k].set(i, rs[i].line);
      t.rule_text[k].set(i, rs[i].text);
    }
    app.s.result_count = static_cast<int>(rs.size());
  }
  void plot(int count = -1) { zw::plot(app.s, app.host, count < 0 ? app.s.result_count : count); }
  std::vector<RecordingSurface::Op> fills() { return app.p1.of(Kind::fill); }
  TestApp app;
};

TEST_F(Chart, BarsAndStopTicksSitOnTheirRowsAndColumns) {
  // n: the row's position among the drawn rows.
  struct Case {
    R row;
    bool show_text;
    int n;
    double x1, y1, x2;
    bool tick;
  } cases[] = {
      {{20, 24}, true, 0, 600, 80 + 350, 5600, true},
      {{22, 22, true}, true, 0, 2600, 80 + 350, 3600, false},  // one column, no tick
      {{21, 23}, false, 3, 1600, 1580 + 170, 4600, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.n);
    app.s.f1.shtxt.value = c.show_text ? 1 : 0;
    std::vector<R> rs(static_cast<std::size_t>(c.n), R{});
    rs.push_back(c.row);
    rows(rs);
    plot();
    auto f = fills();
    auto at = static_cast<std::size_t>(2 * c.n);
    ASSERT_GT(f.size(), at);
    EXPECT_EQ(box(f[at]), (Box{c.x1, c.y1, c.x2, c.y1 + 30}));
    ASSERT_EQ(f.size() > at + 1, c.tick);
    if (c.tick) {
      EXPECT_EQ(box(f[at + 1]), (Box{c.x2 - 10, c.y1 - 80, c.x2 + 20, c.y1 + 100}));
      EXPECT_EQ(f[at + 1].colour, f[at].colour);
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
    bool levels = true;
  } cases[] = {
      {"plain polygon", 0, "3C", 22, false, false, grey},
      {"continuing", 0, "3C", 22, true, false, faded},
      {"continuing, sorted", 0, "3C", 22, true, true, cont_grey},
      {"road", 1, "17", 22, false, false, green},
      {"continuing road", 1, "01", 22, true, false, bright_green},
      {"14", 1, "14", 22, false, false, grey},
      {"15", 1, "15", 22, false, false, grey},
      {"18 is no road", 1, "18", 22, false, false, grey},
      {"only lines turn green", 0, "01", 22, false, false, grey},
      {"untyped", 1, "", 22, false, false, grey},
      {"below the last main level", 0, "3C", 21, false, false, red},
      {"red over green", 1, "01", 21, true, false, red},
      {"no main levels: no red, no message", 0, "3C", 20, false, false, grey, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    app.s.levels.level_res =
        c.levels ? std::vector<std::uint8_t>{24, 22} : std::vector<std::uint8_t>{};
    app.s.levels.main_level_last = c.levels ? 1 : -1;
    app.s.selected_kind = static_cast<std::int16_t>(c.kind);
    app.s.f1.Check2.value = c.sort ? 1 : 0;
    rows({{c.from, 24, c.cont, c.type}});
    plot();
    ASSERT_FALSE(fills().empty());
    EXPECT_EQ(fills()[0].colour, c.expected);
    EXPECT_TRUE(app.host.messages.empty());
  }
}

TEST_F(Chart, RowTextsStandAfterTheBarInOrder) {
  app.s.f1.shtxt.value = 1;
  rows({{21, 24, false, "2F06", "12", "amenity=fuel"}});
  plot();
  auto t = app.p1.of(Kind::text);
  ASSERT_EQ(t.size(), 5u);  // resolution in bold, type, line, rule text, credit
  EXPECT_EQ(app.p1.texts(), (Strings{" 21", "2F06", "12  ", "amenity=fuel ", t[4].text}));
  EXPECT_TRUE(t[0].bold && !t[1].bold);
  // After the bar's " 21" at (670, 180) comes the type half of "000" further on.
  EXPECT_EQ((std::vector<double>{t[0].x1, t[1].x1, t[2].x1, t[3].x1}),
            (std::vector<double>{670, 670 + 300 + 150, 1120 + 500, 1620 + 400}));
  EXPECT_TRUE(t[3].y1 == 180 && t[2].colour == rgb(90, 90, 140) && t[3].colour == colours::black);
  EXPECT_FALSE(app.p1.bold());

  app.s.f1.shtxt.value = 0;
  plot();
  EXPECT_EQ(app.p1.texts().size(), 4u);  // no rule text
}

TEST_F(Chart, FiltersLeaveNoGapsAndTheCreditLineFollowsTheRowsDrawn) {
  struct Case {
    bool overview_only;
    std::vector<std::uint8_t> overview;
    Strings drawn;
  } cases[] = {
      {false, {21}, {" 20", " 22", " 21"}},
      {true, {21}, {" 20", " 21"}},
      {true, {}, {" 20", " 22", " 21"}},  // no overview levels: nothing to filter by
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.overview_only);
    app.s.f1.ovw.value = c.overview_only ? 1 : 0;
    app.s.levels.overview_res = c.overview;
    // The row below the lowest resolution is never drawn.
    rows({{20, 24}, {22, 24}, {19, 24}, {21, 24}});
    plot();
    auto t = app.p1.of(Kind::text);
    Strings res;
    for (const auto& op : t)
      if (op.bold) {
        EXPECT_EQ(op.y1, 500.0 * static_cast<double>(res.size()) + 180);
        res.push_back(op.text);
      }
    EXPECT_EQ(res, c.drawn);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t.back().text, "\tCharted with Zoomwright 2.51   2026-12-06");
    EXPECT_EQ((std::pair{t.back().x1, t.back().y1}),
              (std::pair{30.0, 200 * (static_cast<double>(c.drawn.size()) + 1) * 2.5 + 100}));
  }
}

TEST_F(Chart, GridAndScaleTicksMarkEveryBoundary) {
  // The grid comes after the rows and ends below the last one; an empty chart
  // still has its ticks; the top resolution alone spans the whole width.
  struct Case {
    int lowest, count;
    double line_end;
    std::size_t lines;
  } cases[] = {{20, 2, 580 + 100 + 200, 6}, {20, 0, 0, 6}, {24, 1, 80 + 100 + 200, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lowest * 10 + c.count);
    app.s.lowest_resolution = c.lowest;
    rows({{c.lowest, 24}, {23, 24}});
    plot(c.count);
    const auto& ops = app.p1.ops;
    auto first_line =
        std::find_if(ops.begin(), ops.end(), [](auto& o) { return o.kind == Kind::line; });
    EXPECT_TRUE(std::none_of(first_line, ops.end(), [](auto& o) { return o.kind == Kind::fill; }));
    EXPECT_EQ(fills().empty(), c.count == 0);
    if (c.count == 0) {
      EXPECT_TRUE(app.p1.texts().empty());
    }
    auto lines = app.p1.of(Kind::line);
    ASSERT_EQ(lines.size(), c.lines);
    double column = 5000.0 / static_cast<double>(c.lines - 1);
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(box(lines[i]),
                (Box{600 + column * static_cast<double>(i), 0, lines[i].x1, c.line_end}));
    EXPECT_EQ(lines[0].colour, rgb(220, 220, 220));
    auto ticks = app.p3.of(Kind::fill);
    ASSERT_EQ(ticks.size(), c.lines);
    EXPECT_TRUE(ticks.back().x1 == 5600 && ticks.back().y2 == 400);
  }
}

TEST_F(Chart, CanvasHeightCoversTheRowsTheWindowAndThePane) {
  struct Case {
    int count, window_height, p3_top, p2_height, expected;
  } cases[] = {
      {10, 1000, 0, 500, 6000},     // (10 + 2) * 200 * 2.5
      {10, 9000, 1000, 500, 8000},  // the window below the strip is taller
      {10, 1000, 0, 7000, 7000},    // never lower than the pane
      {0, 500, 0, 300, 1000},       // two rows' worth even when empty
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    auto& f = app.s.f1;
    f.height = c.window_height, f.p3.top = c.p3_top;
    f.p2.set_height(c.p2_height);
    rows(std::vector<R>(static_cast<std::size_t>(c.count), R{}));
    plot();
    EXPECT_TRUE(f.p1.height() == c.expected && app.p1.height_ == c.expected);
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

// resize_chart with a window whose chart pane p2 becomes 5800 - 800 - 2000 = 3000 high.
struct Resize : Chart {
  void SetUp() override {
    Chart::SetUp();
    auto& f = app.s.f1;
    f.width = 6110;
    f.height = 5800;
    f.p2.top = 2000;
    app.host.border_px = 0;
  }
};

TEST_F(Resize, ScrollRangeAndStepsFollowTheOverflow) {
  // A step is one row (500 twips here) in the bar's units; a page a tenth of the range.
  struct Case {
    int canvas, max, small, large;
  } cases[] = {
      {3000 + 7, 0, -1, -1},    // less than 8 taller: no range
      {3000 + 8, 25, 1562, 2},  // 2.5 goes to 2
      {3000 + 18, 35, 972, 4},  // 3.5 goes to 4
      {3000 + 32750, 32767, 500, 3277},
      {3000 + 32751, 32757, 500, 3276},  // beyond 32767
      {3000 + 327510, 32757, 50, 3276},  // ten times taller: a row is a tenth of the units
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.canvas);
    auto& f = app.s.f1;
    f.vs.small_change = f.vs.large_change = -1, f.vs.enabled = false;
    f.p1.set_height(c.canvas);
    resize_chart(app.s, app.host);
    EXPECT_EQ((std::array<int, 3>{f.vs.max, f.vs.small_change, f.vs.large_change}),
              (std::array<int, 3>{c.max, c.small, c.large}));
    EXPECT_TRUE(f.vs.enabled);
  }
}

TEST_F(Resize, ScaleLabelsAreLaidOutOnlyWithARangeAndKeepTheirLevelMarks) {
  auto& f = app.s.f1;
  for (auto& l : f.Label3) l = Label{}, l.visible = false;
  f.p1.set_height(3000);  // no overflow
  resize_chart(app.s, app.host);
  EXPECT_TRUE(f.Label3[20].caption.empty() && !f.Label3[20].visible);

  f.width = 6110 + 2;  // columns of 1000.4 twips: the fraction is kept
  f.p1.set_height(5000);
  f.Label3[21].caption = "21 junk", f.Label3[22].caption = "22 L1";
  resize_chart(app.s, app.host);
  for (int r = 20; r <= 24; ++r) {
    const auto& l = f.Label3[static_cast<std::size_t>(r)];
    EXPECT_EQ(l.caption, r == 22 ? "22 L1" : std::to_string(r));
    EXPECT_TRUE(l.visible && l.bounds.width == 1000);
    EXPECT_EQ(l.bounds.left, static_cast<int>(std::lround((r - 20) * 1000.4 + 600)));
  }
  EXPECT_EQ(f.Label3[19].caption, "");
}

TEST_F(Resize, PanesFitTheFrameAndTheRangeFitsTheChartAboutToBeDrawn) {
  auto& f = app.s.f1;
  f.p1.set_height(3000);  // what the previous, empty chart left
  rows(std::vector<R>(40, R{}));
  resize_chart(app.s, app.host);
  // 42 rows of 500 twips; the scroll range is the overflow of that canvas.
  EXPECT_TRUE(f.p1.height() == 21000 && f.vs.max == 21000 - 3000 + 17);
  EXPECT_EQ(app.p1.texts().size(), 40u * 3 + 1);
  EXPECT_FALSE(app.host.busy());  // plot leaves the busy cursor to resize_chart
  app.host.border_px = 4;         // 60 twips each side
  resize_chart(app.s, app.host);
  for (int w : {f.p1.width(), f.p2.width(), f.p3.width()}) EXPECT_EQ(w, 6110 - 120);
  EXPECT_EQ((std::pair{f.vs.bounds.left, f.vs.bounds.height}), (std::pair{6110 - 120 - 255, 3000}));
}

TEST(ChartScroll, TheCanvasMovesByItsShareOfTheOverflow) {
  struct Case {
    int p1, value, max, top;
  } cases[] = {
      {9000, 1000, 6017, -997},
      {9000, 5, 0, 0},       // no range: back to the top
      {2000, 25, 50, -500},  // a canvas lower than the pane still moves by the difference
  };
  for (const auto& c : cases) {
    TestApp app;
    auto& f = app.s.f1;
    f.p1.set_height(c.p1);
    f.p2.set_height(3000);
    f.p1.top = 77, f.vs.value = c.value, f.vs.max = c.max;
    vs_Scroll(app.s, app.host);
    EXPECT_EQ(f.p1.top, c.top) << c.value << "/" << c.max;
  }
}

}  // namespace
}  // namespace zw
