#include <gtest/gtest.h>

#include <cmath>

#include "base/paths.h"
#include "base/text.h"
#include "app/typ_check_run.h"
#include "support/test_app.h"
#include "typ/colour_difference.h"
#include "typ/typ_check.h"
#include "typ/typ_entries.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

std::string lines_of(const Strings& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  return out;
}

TEST(ColourDifference, MatchesPublishedCiede2000Pairs) {
  // Pairs from the CIEDE2000 test data (Sharma, Wu and Dalal), hue wraps included.
  struct Case {
    Lab a, b;
    double expected;
  } cases[] = {
      {{50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
      {{50, 0, 0}, {50, -1, 2}, 2.3669},
      {{50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},
      {{50, -0.001, 2.49}, {50, 0.0009, -2.49}, 4.8045},
      {{50, 2.5, 0}, {73, 25, -18}, 27.1492},
      {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(ciede2000(c.a, c.b), c.expected, 1e-4) << c.expected;
    EXPECT_NEAR(ciede2000(c.b, c.a), c.expected, 1e-4) << c.expected;
  }
  EXPECT_NEAR(ciede2000(colours::black, colours::white), 100, 1e-3);
  EXPECT_EQ(ciede2000(rgb(12, 200, 7), rgb(12, 200, 7)), 0);
}

TEST(TypeKeys, RuleTypesAndTheirDisplay) {
  struct Case {
    const char* rule;
    const char* key;
    const char* shown;
  } cases[] = {
      {"01", "00100", "0x01"}, {"2F06", "02f06", "0x2f06"},
      {"2f", "02f00", "0x2f"}, {"10F04", "10f04", "0x10f04"},
      {"1", "00100", "0x01"},  {"", "", ""},
      {"zz", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rule_type_key(c.rule), c.key) << c.rule;
    EXPECT_EQ(type_shown(c.key), c.shown) << c.rule;
  }
}

TEST(TypFileForTheCheck, SectionsAsTheDeviceDrawsThem) {
  auto typ = read_typ_file(lines_of({
      "[_id]\nFID=2000\n[end]",
      "[_drawOrder]\nType=0x032,1\n;Type=0x033,1\nType=0x10101,2\n[end]",
      "[_polygon]\nType=0x32\nXpm=\"0 0 2 0\"\n\"a c #102030\"\n\"b\tc #405060\"\n[end]",
      "[_line]\nType=0x01\nLineWidth=3\nBorderWidth=1\nXpm=\"0 0 4 0\"\n\"a c #FF0000\"\n"
      "\"b c #00FF00\"\n[end]",
      "[_line]\nType=0x02\nXpm=\"32 2 2 1\"\n\"a c #000000\"\n\"b c none\"\n\"aaaabbbb\"\n"
      "\"bbbbaaaa\"\n[end]",
      "[_point]\nType=0x2f\nSubType=0x06\nDayXpm=\"1 1 1 1\"\n\"$ c #FFFFFF\"\n\"$\"\n"
      "NightXpm=\"1 1 1 1\"\n\"$\"\n[end]",
  }));
  EXPECT_EQ(typ.family_id, 2000);
  EXPECT_TRUE(typ.has_draw_order);
  EXPECT_EQ(typ.draw_order.size(), 2u);
  EXPECT_EQ(typ.draw_order.at("03200"), 5);
  ASSERT_EQ(typ.entries.size(), 4u);
  struct Expect {
    int kind;
    const char* key;
    std::size_t day, rows;
    int width, border;
    bool night_missing;
  } expect[] = {
      {0, "03200", 1, 0, 0, 0, false},  // a day and a night colour
      {1, "00100", 2, 0, 3, 1, true},   // line and border, night pair declared but not given
      {1, "00200", 2, 2, 2, 0, false},  // a bitmap: its rows are the width
      {2, "02f06", 1, 1, 0, 0, true},   // a night bitmap without its colour
  };
  for (std::size_t i = 0; i < 4; ++i) {
    const auto& e = typ.entries[i];
    const auto& x = expect[i];
    EXPECT_EQ(
        (std::tuple{e.kind, e.key, e.day.size(), e.rows.size(), e.width, e.border,
                    !e.night_missing.empty()}),
        (std::tuple{x.kind, std::string(x.key), x.day, x.rows, x.width, x.border, x.night_missing}))
        << i;
  }
  EXPECT_EQ(typ.entries[0].day[0], rgb(0x10, 0x20, 0x30));
  EXPECT_FALSE(typ.entries[2].day[1].has_value());  // "none" is transparent
}

// A style's rule at a line, drawing a type at some levels.
DrawnRule rule(int kind, const char* type, int line, std::vector<int> levels = {0, 1}) {
  std::string file = kind == 0 ? "polygons" : kind == 1 ? "lines" : "points";
  return {kind, type, "/style/" + file, file, line, std::move(levels)};
}

std::string summary_of(const std::vector<TypFinding>& findings) {
  std::string out;
  for (const auto& f : findings)
    out += std::string(severity_name(f.severity)) + " " + f.finding + " " + f.type + " " + f.name +
           ":" + text::decimal(f.line) + "\n";
  return out;
}

TEST(TypCheck, Findings) {
  // One section a line; the comment gives the line its header is on.
  const auto typ = read_typ_file(lines_of({
      "[_id]\nFID=77\n[end]",                                            // 1
      "[_drawOrder]\nType=0x01,1\nType=0x02,1\nType=0x10101,2\n[end]",   // 4
      "[_polygon]\nType=0x01\nXpm=\"0 0 1 0\"\n\"a c #3A7D2C\"\n[end]",  // 9
      "[_polygon]\nType=0x02\nXpm=\"0 0 1 0\"\n\"a c #3B7E2D\"\n[end]",  // 14: like 0x01
      "[_polygon]\nType=0x03\nXpm=\"0 0 1 0\"\n\"a c #3A7D2C\"\n[end]",  // 19: not in the order
      "[_line]\nType=0x01\nLineWidth=2\nXpm=\"0 0 1 0\"\n\"a c #FF0000\"\n[end]",  // 24
      "[_line]\nType=0x02\nLineWidth=3\nXpm=\"0 0 1 0\"\n\"a c #FF0000\"\n[end]",  // 30: wider
      "[_line]\nType=0x02\nLineWidth=3\nXpm=\"0 0 1 0\"\n\"a c #00FF00\"\n[end]",  // 36: again
      "[_point]\nType=0x2f06\nDayXpm=\"1 1 1 1\"\n\"$ c #000000\"\n\"$\"\n[end]",  // 42
      "[_point]\nType=0x2f07\nDayXpm=\"1 1 1 1\"\n\"$ c #000000\"\n\"$\"\n[end]",  // 48: unused
  }));
  struct Case {
    const char* name;
    std::vector<DrawnRule> rules;
    std::optional<long> family_id;
    std::string findings;
  } cases[] = {
      {"polygons alike at a shared level",
       {rule(0, "01", 10), rule(0, "02", 11, {1, 2}), rule(1, "01", 5), rule(1, "02", 6),
        rule(2, "2F06", 3)},
       {},
       "warning looks-alike 0x01 polygons:10\nnote duplicate-entry 0x02 map.txt:36\n"
       "note unused-entry 0x03 map.txt:19\nnote unused-entry 0x2f07 map.txt:48\n"},
      {"alike, but never drawn at the same level; lines of other widths; the family id matches",
       {rule(0, "01", 10, {0}), rule(0, "02", 11, {1}), rule(0, "03", 12, {}), rule(1, "01", 5),
        rule(1, "02", 6), rule(2, "2F06", 3), rule(2, "2f07", 4)},
       77,
       "warning not-in-draw-order 0x03 polygons:12\nnote duplicate-entry 0x02 map.txt:36\n"},
      {"types missing, extended ones a warning; the family id differs",
       {rule(0, "04", 3), rule(0, "10101", 4), rule(0, "04", 5), rule(1, "05", 9), rule(2, "", 1)},
       76,
       "warning not-in-draw-order 0x04 polygons:3\nwarning missing-type 0x10101 polygons:4\n"
       "warning family-id  map.txt:2\nnote duplicate-entry 0x02 map.txt:36\n"
       "note missing-type 0x04 polygons:3\nnote missing-type 0x05 lines:9\n"
       "note unused-entry 0x01 map.txt:9\nnote unused-entry 0x02 map.txt:14\nnote unused-entry "
       "0x03 map.txt:19\n"
       "note unused-entry 0x01 map.txt:24\nnote unused-entry 0x02 map.txt:30\n"
       "note unused-entry 0x2f06 map.txt:42\nnote unused-entry 0x2f07 map.txt:48\n"},
      {"a style without rules",
       {},
       {},
       "note duplicate-entry 0x02 map.txt:36\nnote unused-entry 0x01 map.txt:9\n"
       "note unused-entry 0x02 map.txt:14\nnote unused-entry 0x03 map.txt:19\n"
       "note unused-entry 0x01 map.txt:24\nnote unused-entry 0x02 map.txt:30\n"
       "note unused-entry 0x2f06 map.txt:42\nnote unused-entry 0x2f07 map.txt:48\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(summary_of(check_against_typ(c.rules, typ, "map.txt", c.family_id)), c.findings)
        << c.name;

  auto alike =
      check_against_typ({rule(0, "01", 10), rule(0, "02", 11, {1, 2})}, typ, "map.txt", {});
  EXPECT_EQ(alike.at(0).detail, "looks like 0x02 (polygons:11) at level 1: colour difference 0.4");
  EXPECT_EQ(findings_summary(alike), "1 warning, 6 notes");

  // An empty TYP file: every drawn type is missing, and nothing else is said.
  auto empty =
      check_against_typ({rule(0, "01", 1), rule(1, "01", 1)}, read_typ_file(""), "map.txt", 1);
  EXPECT_EQ(summary_of(empty),
            "note missing-type 0x01 polygons:1\nnote missing-type 0x01 lines:1\n");
}

// The window's command: it needs a TYP file and a style, lists what it finds,
// and a double-click opens the finding's file at its line.
TEST(TypCheckCommand, ListsTheFindingsAndOpensThem) {
  test::TestApp app;
  check_typ_Click(app.s, app.host);
  EXPECT_EQ(app.host.messages, (Strings{"Open a TYP file first: File > Open TYP file"}));

  app.style("s", {{"options", "levels = 0:24, 1:20\n"},
                  {"lines", "include 'inc/a';\n"},
                  {"inc/a", "# roads\nhighway=path [0x16 resolution 20]\n"}});
  app.dir.write("map.txt", "[_line]\nType=0x17\n[end]\n");
  loadtyp(app.s, app.host, app.dir.at("map.txt"));
  app.host.messages.clear();
  app.select("s");
  check_typ_Click(app.s, app.host);
  EXPECT_TRUE(app.host.messages.empty()) << app.host.messages.front();
  const auto& d = app.s.typcheck;
  EXPECT_EQ(app.host.dialogs_shown, (std::vector<Dialog>{Dialog::typ_check}));
  ASSERT_EQ(d.List1.items.size(), 2u);
  EXPECT_TRUE(text::starts_with(
      d.List1.items[0], "note   lines   0x16   " + paths::join("inc", "a") + ":2   missing-type"))
      << d.List1.items[0];
  EXPECT_TRUE(text::starts_with(d.Label1.caption, "0 warnings, 2 notes: s against "))
      << d.Label1.caption;
  EXPECT_EQ(d.marks, (std::map<std::string, bool>{{"101600", false}, {"101700", false}}));

  for (int index : {-1, 2, 0, 1}) typ_findings_DblClick(app.s, app.host, index);
  EXPECT_EQ(app.host.opened, (Strings{paths::join(app.dir.at("styles/s/inc"), "a") + ":2",
                                      app.dir.at("map.txt") + ":1"}));
  typ_findings_Close(app.s);
  EXPECT_TRUE(d.closing);

  // A style without levels draws nothing at any level: findings still, no failure.
  app.style("bare", {{"lines", "a=b [0x17 level 2]\nc=d [0x18 resolution 20]\n"}});
  app.select("bare");
  app.host.messages.clear();
  check_typ_Click(app.s, app.host);
  EXPECT_EQ(d.List1.items,
            (Strings{"note   lines   0x18   lines:2   missing-type   line type not in the TYP file "
                     "(drawn at no level): the device draws it in its own default look",
                     "note   lines   0x17   " + app.dir.at("map.txt") +
                         ":1   unused-entry   line "
                         "type that no rule of the style draws"}));
}

}  // namespace
}  // namespace zw
