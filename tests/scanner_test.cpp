#include <gtest/gtest.h>

#include "analysis/scanner.h"
#include "app/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

enum class Variant { all, text, category };

// One line through the scanner, with levels 0:24, 1:22, 2:20 (and 3:18 when asked).
struct Scan {
  Scan(Variant v, const std::string& levels = "levels=0:24,1:22,2:20") {
    app.style("s", {{"options", levels + "\n"}, {"lines", ""}});
    app.select("s");
    app.s.selected_kind = 1;
    if (v == Variant::all) app.s.f1.Check1[0].value = 1;
    if (v == Variant::category) run.categories = {"highway"};
    if (v == Variant::text) {
      app.s.f1.Check4.value = 1;
      run.filter = "highway";
    }
  }
  int line(const std::string& text, int number = 1) {
    int before = run.rows;
    scan_line(app.s, app.host, run, text::lower(text), number);
    return run.rows - before;
  }
  std::string row(int i = 0) const {
    const auto& r = app.s.results;
    auto k = static_cast<std::size_t>(app.s.selected_kind);
    auto n = static_cast<std::size_t>(i);
    return r.rule_line[k][n] + " " + std::to_string(r.res_from[k][n]) + "-" +
           std::to_string(r.res_to[k][n]) + (r.rule_continue[k][n] ? " continue " : " ") +
           r.rule_type[k][n];
  }
  test::TestApp app;
  ScanRun run;
};

struct Case {
  Variant variant;
  std::string line;
  int selected_res;
  std::string expected;  // "" when the line is not stored
};

class ScannerCases : public ::testing::TestWithParam<Case> {};

TEST_P(ScannerCases, StoresTheRowItShould) {
  const auto& c = GetParam();
  Scan scan(c.variant);
  scan.app.s.selected_res = static_cast<std::int16_t>(c.selected_res);
  int stored = scan.line(c.line, 7);
  if (c.expected.empty()) {
    EXPECT_EQ(stored, 0) << c.line;
  } else {
    ASSERT_EQ(stored, 1) << c.line;
    EXPECT_EQ(scan.row(), c.expected) << c.line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScannerCases,
    ::testing::Values(
        // A single resolution, a range either way, continue.
        Case{Variant::all, "natural=water [0x3c resolution 20]", -1, "7 20-24 3C"},
        Case{Variant::all, "[0x01 resolution 24-20 continue]", -1, "7 20-24 continue 01"},
        Case{Variant::all, "highway=x [0x2f06 resolution 20-24]", -1, "7 20-24 2F06"},
        // The comment starts before the keyword: not a rule.
        Case{Variant::all, "highway=motorway # main roads [0x01 resolution 20]", -1, ""},
        Case{Variant::all, "# highway=motorway [0x01 resolution 20]", -1, ""},
        Case{Variant::all, "highway=motorway [0x01]", -1, ""},
        // Levels: a single level and a range, in every variant.
        Case{Variant::all, "highway=a [0x05 level 1]", -1, "7 22-24 05"},
        Case{Variant::all, "highway=a [0x05 level 0-2]", -1, "7 20-24 05"},
        Case{Variant::text, "highway=a [0x05 level 0-2]", -1, "7 20-24 05"},
        Case{Variant::category, "highway=a [0x05 level 0-2]", -1, "7 20-24 05"},
        Case{Variant::text, "highway=a [0x05 level 1]", -1, "7 22-24 05"},
        // The category scan reads a value below 10 as a level.
        Case{Variant::category, "highway=a [0x05 resolution 2]", -1, "7 20-24 05"},
        Case{Variant::category, "highway=a [0x05 resolution 18]", -1, "7 18-24 05"},
        // No blank after the type code: no type.
        Case{Variant::all, "highway=a resolution 20 [0x05]", -1, "7 20-24 "},
        // Selected resolution 20 in the text and category scans.
        Case{Variant::text, "highway=a [0x01 resolution 20-24]", 20, "7 20-24 01"},
        Case{Variant::text, "highway=a [0x01 resolution 22-20]", 20, "7 20-22 01"},
        Case{Variant::text, "highway=a [0x01 resolution 18-20]", 20, ""},
        Case{Variant::text, "highway=a [0x01 resolution 22]", 20, ""},
        Case{Variant::category, "highway=a [0x01 resolution 20-24]", 20, "7 20-24 01"},
        Case{Variant::category, "highway=a [0x01 resolution 22-20]", 20, "7 20-22 01"},
        Case{Variant::category, "highway=a [0x01 resolution 18-20]", 20, ""},
        Case{Variant::category, "highway=a [0x01 resolution 22]", 20, ""},
        // Selected resolution in the all-categories scan: the tail must equal it.
        Case{Variant::all, "highway=a [0x01 resolution 20]", 20, "7 20-24 01"},
        Case{Variant::all, "highway=a [0x01 level 2]", 20, "7 20-24 01"},
        Case{Variant::all, "highway=a [0x01 resolution 22]", 20, ""},
        // The text scan stores only lines with the filter text.
        Case{Variant::text, "waterway=river [0x1f resolution 18]", -1, ""},
        // A resolution of 0: kept by the all-categories scan only.
        Case{Variant::all, "highway=a [0x01 resolution 0]", -1, "7 0-24 01"},
        Case{Variant::text, "highway=a [0x01 resolution 0]", -1, ""}));

TEST(Scanner, UndeclaredLevelIsDroppedAndReportedOncePerRun) {
  Scan scan(Variant::all, "levels=0:24,1:22,2:20,3:18");
  EXPECT_EQ(scan.line("highway=a [0x05 level 7]"), 0);
  EXPECT_EQ(scan.line("highway=b [0x05 level 8]"), 0);
  EXPECT_EQ(scan.app.host.messages, std::vector<std::string>{"Found undeclared level  7"});
}

TEST(Scanner, TextScanPutsAnUndeclaredLevelOnTheLastMainLevel) {
  Scan scan(Variant::text, "levels=0:24,1:22,2:20,3:18");
  ASSERT_EQ(scan.line("highway=a [0x05 level 7]"), 1);
  EXPECT_EQ(scan.row(), "1 18-24 05");
  EXPECT_TRUE(scan.app.host.messages.empty());
}

TEST(Scanner, ZeroResolutionLevelIsReportedEachTimeAndStored) {
  Scan scan(Variant::all, "levels=0:24,1:0");
  EXPECT_EQ(scan.line("highway=a [0x05 level 1]"), 1);
  EXPECT_EQ(scan.line("highway=b [0x05 level 1]"), 1);
  EXPECT_EQ(scan.app.host.messages,
            (std::vector<std::string>{"Zero resolution in level", "Zero resolution in level"}));
}

TEST(Scanner, LineWithSeveralSelectedNamesIsStoredForEachName) {
  Scan scan(Variant::category);
  scan.run.categories = {"highway", "service"};
  EXPECT_EQ(scan.line("highway=service [0x07 resolution 22]"), 2);
}

TEST(Scanner, TwentySelectedNamesSkipTheFirst) {
  Scan scan(Variant::category);
  scan.run.categories.assign(20, "unused");
  scan.run.categories[0] = "highway";
  EXPECT_EQ(scan.line("highway=a [0x07 resolution 22]"), 0);
  scan.run.categories[1] = "highway";
  EXPECT_EQ(scan.line("highway=a [0x07 resolution 22]"), 1);
}

TEST(Scanner, LevelBeyondTheTableOrValueAbove255IsReportedAndTheScanGoesOn) {
  Scan scan(Variant::all);
  EXPECT_EQ(scan.line("highway=a [0x05 level 0-9]"), 0);
  EXPECT_EQ(scan.line("highway=a [0x05 resolution 300]"), 0);
  EXPECT_EQ(scan.line("highway=a [0x05 resolution 20-300]"), 0);
  EXPECT_EQ(scan.app.host.messages.size(), 3u);
  for (const auto& m : scan.app.host.messages)
    EXPECT_TRUE(text::contains(m, "out of range") || text::contains(m, "Overflow")) << m;
  EXPECT_EQ(scan.line("highway=a [0x05 resolution 20]"), 1);
}

TEST(Scanner, CategoryScanWithValueBelowTenBeyondTheLevelsIsReported) {
  Scan scan(Variant::category);
  EXPECT_EQ(scan.line("highway=a [0x05 resolution 8]"), 0);
  ASSERT_EQ(scan.app.host.messages.size(), 1u);
  EXPECT_NE(scan.app.host.messages[0].find("level_res"), std::string::npos);
}

TEST(Scanner, RowsBeyondTheTableAreRefusedWithOneMessage) {
  Scan scan(Variant::all);
  for (int i = 0; i < 805; ++i) scan.line("highway=a [0x05 resolution 20]", i + 1);
  EXPECT_EQ(scan.run.rows, 801);
  ASSERT_EQ(scan.app.host.messages.size(), 1u);
  EXPECT_NE(scan.app.host.messages[0].find("only the first 801 rows"), std::string::npos);
}

TEST(Scanner, IncludedFileLinesGetALetterReference) {
  Scan scan(Variant::all);
  scan.run.include_index = 2;
  scan.line("highway=a [0x05 resolution 20]", 12);
  EXPECT_EQ(scan.row(), "c)12 20-24 05");
}

TEST(Scanner, RuleTextIsSqueezedExceptInTheTextScan) {
  Scan all(Variant::all);
  // Tabs become blanks, then one pass turns two blanks into one.
  all.line("  highway=a\t\t[0x05   resolution 20] # note");
  EXPECT_EQ(all.app.s.results.rule_text[1][0], "highway=a [0x05  resolution 20] ");
  Scan text(Variant::text);
  text.line("highway=a\t[0x05 resolution 20]");
  EXPECT_EQ(text.app.s.results.rule_text[1][0], "highway=a\t[0x05 resolution 20]");
}

TEST(Scanner, MarksTheScaleLabelsByVariant) {
  Scan all(Variant::all);
  all.line("highway=a [0x05 resolution 21]");
  EXPECT_TRUE(all.app.s.f1.Label3[21].bold);
  Scan text(Variant::text);
  text.line("highway=a [0x05 resolution 19]");
  EXPECT_EQ(text.app.s.f1.Label3[19].back, rgb(180, 180, 190));
  EXPECT_EQ(text.app.s.lowest_resolution, 19);
}

TEST(GetRes, ReturnsTheLowerAndPutsTheUpperInMx) {
  struct R { std::string tail; bool lv; std::string low; int high; };
  for (const auto& r : std::vector<R>{{"20-24", false, "20", 24},
                                      {"24-20", false, "20", 24},
                                      {"20-20", false, "20", 20},
                                      {"0-2", true, "20", 24},
                                      {"2-0 ]", true, "20", 24}}) {
    Scan scan(Variant::all);
    int mx = 0;
    EXPECT_EQ(get_res(scan.app.s, scan.app.host, 1, r.tail, mx, r.lv), r.low) << r.tail;
    EXPECT_EQ(mx, r.high) << r.tail;
  }
}

TEST(GetTyp, TakesTheCodeAfterTheFirst0xUpToABlank) {
  EXPECT_EQ(get_typ("highway=primary [0x02 resolution 20]"), "02");
  EXPECT_EQ(get_typ("x [0x2f06 resolution 20]"), "2F06");
  EXPECT_EQ(get_typ("x [0x2f06]"), "");
  EXPECT_EQ(get_typ("x [resolution 20]"), "");
}

}  // namespace
}  // namespace zw
