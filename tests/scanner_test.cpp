#include <gtest/gtest.h>

#include "analysis/scanner.h"
#include "base/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

enum class Variant { all, text, category };

const char* const three_levels = "levels=0:24,1:22,2:20";
const char* const four_levels = "levels=0:24,1:22,2:20,3:18";

// Lines through the scanner of the lines kind, in one of its three variants.
struct Scan {
  explicit Scan(Variant v, const std::string& levels = three_levels) {
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
  int line(const std::string& text, int number = 7) {
    int before = run.rows;
    scan_line(app.s, app.host, run, text::lower(text), number);
    return run.rows - before;
  }
  // A stored row, the first by default, as "line from-to [continue] type".
  std::string row(std::size_t i = 0) const {
    const auto& r = app.s.results;
    return std::string(r.rule_line[1][i]) + " " + std::to_string(r.res_from[1][i]) + "-" +
           std::to_string(r.res_to[1][i]) + (r.rule_continue[1][i] ? " continue " : " ") +
           std::string(r.rule_type[1][i]);
  }
  std::string last_row() const { return row(static_cast<std::size_t>(run.rows - 1)); }
  test::TestApp app;
  ScanRun run;
};

TEST(Scanner, StoresTheRowItShould) {
  const Variant all = Variant::all, txt = Variant::text, cat = Variant::category;
  const struct {
    Variant variant;
    const char* line;
    int selected_res;
    const char* expected;
  } cases[] = {
      {all, "natural=water [0x3c resolution 20]", -1, "7 20-24 3C"},
      {all, "[0x01 resolution 24-20 continue]", -1, "7 20-24 continue 01"},
      {all, "highway=a resolution 20 [0x05]", -1, "7 20-24 "},  // no blank after the code: no type
      {all, "highway=motorway # main roads [0x01 resolution 20]", -1, ""},  // commented out
      {all, "highway=a [0x05 level 2-0 ]", -1, "7 20-24 05"},
      {txt, "highway=a [0x05 level 1]", -1, "7 22-24 05"},
      // The category scan reads a value below 10 as a level.
      {cat, "highway=a [0x05 resolution 2]", -1, "7 20-24 05"},
      {cat, "highway=a [0x05 resolution 18]", -1, "7 18-24 05"},
      // A selected resolution: the text and category scans keep the rules that
      // reach down to it, the all-categories scan those that start there.
      {txt, "highway=a [0x01 resolution 22-20]", 20, "7 20-22 01"},
      {txt, "highway=a [0x01 resolution 18-20]", 20, ""},
      {cat, "highway=a [0x01 resolution 22-20]", 20, "7 20-22 01"},
      {all, "highway=a [0x01 level 2]", 20, "7 20-24 01"},
      {all, "highway=a [0x01 resolution 22]", 20, ""},
      {txt, "waterway=river [0x1f resolution 18]", -1, ""},  // lacks the filter text
      // The keywords count only as words, and the blanks and TABs after them
      // go before the value is read.
      {all, "boundary=administrative & admin_level = 2 [0x1e level 2-0]", -1, "7 20-24 1E"},
      {txt, "highway=a & admin_level = 2 [0x1e resolution 22]", -1, "7 22-24 1E"},
      {all, "highway=a & admin_level=2 & level=1 [0x1e]", -1, ""},
      {all, "[0x01 resolution  21]", -1, "7 21-24 01"},
      {cat, "highway=a [0x01 resolution\t \t21-23 continue]", -1, "7 21-23 continue 01"},
      {txt, "highway=a\t[0x01 level\t1]", -1, "7 22-24 01"},
      {all, "resolution 20 [0x01 ]", -1, "7 20-24 01"},
      // A resolution counts before a level; "!" is no word's start.
      {all, "highway=a [0x01 level 1 resolution 21]", -1, "7 21-24 01"},
      {all, "a !resolution 20 [0x01 level 1]", -1, "7 22-24 01"},
      // The value ends at a blank or a "]"; "continue" counts anywhere after it.
      {all, "highway=a [0x05 resolution 21]continue", -1, "7 21-24 continue 05"},
      {all, "highway=a [0x05 resolution 2e1]]", -1, "7 20-24 05"},
      {txt, "highway=a [0x05 resolution 23.5-22.5]", -1, "7 22-24 05"},
      {cat, "highway=a [0x05 resolution -3]", -1, ""},  // below 10: a level, and there is none
      // A carriage return stays in the value: not the selected resolution.
      {all, "highway=a [0x05 resolution 20\r", 20, ""},
      {all, "highway=a [0x05 resolution 20\r", -1, "7 20-24 05"},
      // A resolution of 0: kept by the all-categories scan only.
      {all, "highway=a [0x01 resolution 0]", -1, "7 0-24 01"},
      {txt, "highway=a [0x01 resolution 0]", -1, ""},
  };
  for (const auto& c : cases) {
    Scan scan(c.variant);
    scan.app.s.selected_res = static_cast<std::int16_t>(c.selected_res);
    EXPECT_EQ(scan.line(c.line) == 1 ? scan.row() : "", c.expected) << c.line;
  }
}

// The keywords are found wherever they stand in the blocks a line is searched
// in, among words that start alike ("re", "le") but are no keyword.
TEST(Scanner, KeywordsAreFoundWhereverTheyStand) {
  Scan scan(Variant::all);
  for (std::size_t before = 0; before <= 40; ++before) {
    std::string lookalikes;
    while (lookalikes.size() < before) lookalikes += "area lev re=le ";
    lookalikes.resize(before);
    for (auto [rule, row] : {std::pair{" [0x01 resolution 21]", "7 21-24 01"},
                             {" [0x01 level 1]", "7 22-24 01"},
                             {" [0x01 level 1 resolution 21]", "7 21-24 01"},
                             {" [0x01 levels 1 resolutions 21]", ""}}) {
      auto line = "a" + lookalikes + rule;
      EXPECT_EQ(scan.line(line) == 1 ? scan.last_row() : "", row) << line;
    }
  }
}

TEST(Scanner, BadValuesAreReportedAndTheScanGoesOn) {
  // Rule lines and a part of each message, both split at "|".
  const struct {
    Variant variant;
    const char *levels, *lines;
    int stored;
    const char* messages;
  } cases[] = {
      // An undeclared level is dropped and reported once per run...
      {Variant::all, four_levels, "a [0x05 level 7]|b [0x05 level 8]", 0,
       "Found undeclared level  7"},
      // ...but the text scan puts it on the last main level, quietly.
      {Variant::text, four_levels, "highway=a [0x05 level 7]", 1, ""},
      {Variant::all, "levels=0:24,1:0", "a [0x05 level 1]|b [0x05 level 1]", 2,
       "resolution 0 in|Zero resolution in level|Zero resolution in level"},
      {Variant::all, three_levels, "a [0x05 level 0-9]", 0, "out of range"},
      {Variant::all, three_levels, "a [0x05 resolution 20-300]", 0, "Overflow"},
      {Variant::all, three_levels, "a [0x05 resolution 1e400]", 0, "Overflow"},
      // The lower value rounds above the upper one.
      {Variant::all, three_levels, "a [0x05 resolution 20.4-20.2]", 1, "oops res"},
      {Variant::category, three_levels, "highway=a [0x05 resolution 8]", 0, "level_res"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    Scan scan(c.variant, c.levels);
    int stored = 0;
    for (const auto& l : text::split(c.lines, "|")) stored += scan.line(l);
    EXPECT_EQ(stored, c.stored);
    const auto& m = scan.app.host.messages;
    auto parts = *c.messages ? text::split(c.messages, "|") : Strings{};
    ASSERT_EQ(m.size(), parts.size());
    for (std::size_t i = 0; i < m.size(); ++i) EXPECT_TRUE(text::contains(m[i], parts[i])) << m[i];
    EXPECT_EQ(scan.line("highway=a [0x05 resolution 20]"), 1);
  }
  Scan text(Variant::text, four_levels);
  text.line("highway=a [0x05 level 7]", 1);
  EXPECT_EQ(text.row(), "1 18-24 05");
}

TEST(Scanner, SelectedNamesEachStoreTheLineButTheFirstOfTwentyIsSkipped) {
  Scan scan(Variant::category);
  scan.run.categories = {"highway", "service"};
  EXPECT_EQ(scan.line("highway=service [0x07 resolution 22]"), 2);
  scan.run.categories.assign(20, "unused");
  scan.run.categories[0] = "highway";
  EXPECT_EQ(scan.line("highway=a [0x07 resolution 22]"), 0);
  scan.run.categories[1] = "highway";
  EXPECT_EQ(scan.line("highway=a [0x07 resolution 22]"), 1);
}

// No rule is cut off: the table grows past the rows it was made with, and
// every variant stores the rows beyond them without a message.
TEST(Scanner, RowsBeyondTheFirstTableSizeAreKept) {
  for (auto variant : {Variant::all, Variant::text}) {
    Scan scan(variant);
    for (int i = 0; i < 1500; ++i) scan.line("highway=a [0x05 resolution 20]", i + 1);
    scan.line("highway=b [0x06 resolution 19]", 1501);
    const auto& r = scan.app.s.results;
    EXPECT_EQ(scan.run.rows, 1501);
    EXPECT_GE(r.rows(1), 1501);
    EXPECT_EQ(std::string(r.rule_line[1][1500]) + " " + std::string(r.rule_type[1][1500]) + " " +
                  std::to_string(r.res_from[1][1500]),
              "1501 06 19");
    EXPECT_TRUE(scan.app.host.messages.empty());
  }
}

TEST(Scanner, IncludedLinesGetALetterAndRuleTextIsSqueezedExceptInTheTextScan) {
  Scan all(Variant::all);
  all.run.include_index = 2;
  // Tabs become blanks, then one pass turns two blanks into one.
  all.line("  highway=a\t\t[0x05   resolution 20] # note", 12);
  EXPECT_EQ(all.row(), "c)12 20-24 05");
  EXPECT_EQ(all.app.s.results.rule_text[1][0], "highway=a [0x05  resolution 20] ");
  // Blanks and TABs at the end go.
  all.line("highway=a \t[0x01 resolution 20]  ");
  EXPECT_EQ(all.app.s.results.rule_text[1][1], "highway=a [0x01 resolution 20]");
  // Runs of blanks and TABs at every place of the blocks and words the text
  // is read in, against the squeeze done one byte at a time.
  auto squeezed = [](const std::string& line) {
    std::string out;
    bool pending = false;
    for (char c : line) {
      bool blank = c == ' ' || c == '\t';
      if (!(blank && pending)) out += blank ? ' ' : c;
      pending = blank && !pending;
    }
    return out;
  };
  const std::string rule = "highway=primary & ref=* & name=abcdefgh [0x01 resolution 20]";
  Scan runs(Variant::all);
  for (std::size_t at = 1; at < rule.size(); ++at)
    for (const char* run : {"  ", "   ", "    ", "     ", "\t", "\t\t ", " \t", "\t\t\t\t"}) {
      auto line = rule.substr(0, at) + run + rule.substr(at);
      if (runs.line(line) == 1)  // not where the run splits the keyword
        EXPECT_EQ(runs.app.s.results.rule_text[1][static_cast<std::size_t>(runs.run.rows - 1)],
                  squeezed(line))
            << line;
      else
        EXPECT_TRUE(at > rule.find("resolution") && at < rule.find(" 20")) << line;
    }
  Scan text(Variant::text);
  text.line("highway=a\t[0x05 resolution 20]");
  EXPECT_EQ(text.app.s.results.rule_text[1][0], "highway=a\t[0x05 resolution 20]");
}

}  // namespace
}  // namespace zw
