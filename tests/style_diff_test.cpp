#include <gtest/gtest.h>

#include "analysis/style_diff.h"
#include "base/text.h"
#include "chart/chart.h"
#include "chart/diff_chart.h"
#include "levels/drawn_levels.h"
#include "support/test_app.h"

namespace zw {
namespace {

LevelTable table(std::vector<std::uint8_t> res, int main_last) {
  LevelTable t;
  t.level_res = std::move(res);
  t.main_level_last = main_last;
  t.level_last = static_cast<int>(t.level_res.size()) - 1;
  return t;
}

TEST(DrawnLevels, MainLevelsWhoseResolutionTheRuleCovers) {
  const auto three = table({24, 22, 20}, 2);
  const auto finer = table({24, 23, 22, 20, 18}, 4);
  const auto with_overview = table({24, 22, 20, 17, 16}, 2);
  const auto unordered = table({24, 16, 22, 23}, 3);
  const auto stopped_early = table({24}, 3);
  const auto no_main_list = table({}, -1);
  const struct {
    const LevelTable* levels;
    int from, to;
    const char* drawn;
  } cases[] = {
      {&three, 23, 24, "0"},  // between two levels: only the level above
      {&three, 22, 24, "0-1"},
      {&three, 16, 24, "0-2"},
      {&three, 20, 21, "2"},    // a range that ends below level 0
      {&three, 21, 21, "-"},    // between levels, up to neither
      {&finer, 23, 24, "0-1"},  // the same rule on a finer table
      {&finer, 18, 23, "1-4"},
      {&with_overview, 16, 24, "0-2"},  // overview levels are not main levels
      {&three, 0, 24, "0-2"},
      {&unordered, 22, 24, "0,2-3"},  // separate runs of levels
      // A read that stopped early, or found no main list, has no levels to draw at.
      {&stopped_early, 16, 24, "0"},
      {&no_main_list, 16, 24, "-"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(level_ranges(drawn_levels(*c.levels, c.from, c.to)), c.drawn)
        << c.from << "-" << c.to << " " << c.levels->level_res.size();
}

RuleRow row(const std::string& text, const std::string& type, std::vector<int> levels,
            const std::string& line = "1") {
  RuleRow r;
  r.text = text;
  r.type = type;
  r.levels = std::move(levels);
  r.line = line;
  return r;
}

// The pairs as "class old new" with the rows' indices (- for none).
std::vector<std::string> described(const RuleComparison& c) {
  std::vector<std::string> out;
  auto index = [](int i) { return i < 0 ? std::string("-") : std::to_string(i); };
  for (const auto& p : c.pairs)
    out.push_back(std::string(change_name(p.change)) + " " + index(p.old_row) + " " +
                  index(p.new_row));
  return out;
}

TEST(StyleDiff, MatchesRulesByTheirTextWithoutResolutionAndTheirType) {
  using Rows = std::vector<RuleRow>;
  const struct {
    const char* what;
    Rows old_rows, new_rows;
    Strings pairs;
  } cases[] = {
      {"a rule changed only in its resolution",
       {row("highway=track [0x0a road_class=0 resolution 22]", "0A", {0, 1})},
       {row("highway=track [0x0a road_class=0 resolution 20]", "0A", {0, 1, 2})},
       {"moved 0 0"}},
      {"written as a level, drawn at the same levels",
       {row("highway=a [0x01 resolution 23]\r", "01", {0})},
       {row("highway=a [0x01 level 0 ]", "01", {0})},
       {"same 0 0"}},
      {"blanks, tabs and the brackets' edges",
       {row("highway=a  &\tref=*  [ 0x01 resolution 20-24 ]", "01", {0, 1, 2})},
       {row("highway=a & ref=* [0x01 level 0-2]", "01", {0, 1, 2})},
       {"same 0 0"}},
      {"every bracket of a rule with two types",
       {row("tourism=camp_site [0x2b03 resolution 24] [0x2b05 resolution 24]", "2B03", {0})},
       {row("tourism=camp_site [0x2b03 level 0 ] [0x2b05 level 0 ]", "2B03", {0})},
       {"same 0 0"}},
      {"another type is another rule",
       {row("highway=a [0x01 resolution 20]", "01", {0})},
       {row("highway=a [0x02 resolution 20]", "02", {0})},
       {"old-only 0 -", "new-only - 0"}},
      {"rules sharing a key are paired in file order",
       {row("highway=a [0x01 resolution 20]", "01", {0, 1, 2}, "3"),
        row("highway=b [0x02 resolution 22]", "02", {0, 1}),
        row("highway=a [0x01 resolution 22]", "01", {0, 1}, "9")},
       {row("highway=a [0x01 resolution 22]", "01", {0, 1}, "2"),
        row("highway=a [0x01 resolution 22]", "01", {0, 1}, "5"),
        row("highway=a [0x01 resolution 20]", "01", {0, 1, 2}, "8")},
       {"moved 0 0", "old-only 1 -", "same 2 1", "new-only - 2"}},
  };
  for (const auto& c : cases) {
    auto result = compare_rules(c.old_rows, c.new_rows);
    EXPECT_EQ(described(result), c.pairs) << c.what;
    int total = 0;
    for (int n : result.counts) total += n;
    EXPECT_EQ(total, static_cast<int>(result.pairs.size())) << c.what;
  }
}

TEST(StyleDiff, SummaryOfAConversion) {
  const struct {
    std::array<int, rule_changes> counts;
    const char* line;
  } cases[] = {
      {{12, 0, 0, 0}, "Levels kept for 12 rules; 0 rules drawn at other levels"},
      {{1, 1, 0, 0}, "Levels kept for 1 rule; 1 rule drawn at other levels"},
      {{5, 2, 1, 3},
       "Levels kept for 5 rules; 2 rules drawn at other levels; 1 rule of the source not in the "
       "copy; "
       "3 rules only in the copy"},
  };
  for (const auto& c : cases) EXPECT_EQ(levels_kept_summary(c.counts), c.line);
}

// More rules than a chart once had rows: every one is drawn.
TEST(DiffChart, DrawsEveryRule) {
  test::TestApp app;
  app.p1.rasterise = false;
  app.s.f1.width = 15000;
  resize_chart(app.s, app.host);
  app.s.lowest_resolution = 16;
  std::vector<RuleRow> rules(result_rows + 99, row("a [0x01 resolution 20]", "01", {0, 1, 2}));
  DiffChart chart{{}, "old style", "new style"};
  for (const auto& r : rules) chart.rows.push_back({1, RuleChange::old_only, &r, nullptr});
  ASSERT_TRUE(plot_diff(app.s, app.host, chart));
  int old_bars = 0, new_bars = 0;
  for (const auto& op : app.p1.of(test::RecordingSurface::Op::Kind::fill)) {
    old_bars += op.colour == old_bar_colour;
    new_bars += op.colour == new_bar_colour;
  }
  // Each rule has its bar and its stop tick; the legend one sample each.
  EXPECT_EQ(old_bars, 1 + 2 * (result_rows + 99));
  EXPECT_EQ(new_bars, 1);
  EXPECT_GT(app.s.f1.p1.height(), (result_rows + 99) * (test::RecordingSurface::text_h + 400));
  EXPECT_TRUE(app.host.messages.empty());
}

}  // namespace
}  // namespace zw
