#include <gtest/gtest.h>

#include <map>

#include "app/main_window.h"
#include "base/text.h"
#include "levels/options_file.h"
#include "support/test_app.h"

namespace zw {
namespace {

std::string list(const std::vector<std::uint8_t>& v) {
  std::string out;
  for (auto x : v) {
    if (!out.empty()) out += ',';
    out += std::to_string(x);
  }
  return out;
}

const char* const overlap_res =
    "Caution: Overview resolution overlap of Main levels!Check Options file.";
const char* const overlap_level =
    "Caution: Overview levels overlap of Main levels!Check Options file.";
const char* const any_error = "*error*";

TEST(OptionsFile, FillsTheLevelTable) {
  // What is read, as "resolutions | main last | overview levels | last | lowest".
  const struct {
    const char *options, *table, *caption, *message;
  } cases[] = {
      {"overview-levels = 4:17, 5:15\r\nlevels = 0:24, 1:22, 2:20, 3:18\r\n",
       "24,22,20,18,17,15|3|4,5|5|15", "Levels:0:24,1:22,2:20,3:18 + 4:17,5:15", ""},
      {"levels=0:24,1:22,\n", "24,22,0|2||2|22", "Levels:0:24,1:22, + ", ""},
      {"# levels=0:24\nLevels=0:20\nlevels=0:24,1:21 # two\n", "24,21|1||1|21",
       "Levels:0:24,1:21 + ", ""},
      // Blanks separate entries as commas do, as mkgmap reads them; a lone CR ends a line.
      {"levels = 0:24, 1 22, 2:20\n", "24,0,0,0|3||3|24", "Levels:0:24,1,22,2:20 + ",
       "Options file missing ':'"},
      {"levels = 0:24, 1:22 2 : 20\n", "24,22,20|2||2|20", "Levels:0:24,1:22,2:20 + ", ""},
      {"# old levels\rlevels=0:24,1:22\r\n", "24,22|1||1|22", "Levels:0:24,1:22 + ", ""},
      {"levels = 0:24, 1:22, 2:20\noverview-levels = 3:20\n", "24,22,20,20|2|3|3|20",
       "Levels:0:24,1:22,2:20 + 3:20", overlap_res},
      {"levels = 0:24, 1:22, 2:20\noverview-levels = 2:18\n", "24,22,20,18|2|2|3|18",
       "Levels:0:24,1:22,2:20 + 2:18", overlap_level},
      // The last main list wins; levels are placed by position, not by number.
      {"levels=0:24,1:22,2:20\nlevels=0:23,1:21\n", "23,21|1||1|20", "Levels:0:23,1:21 + ", ""},
      {"levels=3:18,0:24\n", "18,24|1||1|18", "Levels:3:18,0:24 + ", ""},
      {"levels=0:24,1:x\n", "24,0|1||1|0", "Levels:0:24,1:x + ", any_error},
      {"levels=\n", "|-1||-1|24", "Levels: + ", any_error},
      {"# nothing\n", "|-1||-1|24", "Levels: + ", any_error},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    test::TestApp app;
    app.style("s", {{"options", c.options}});
    app.select("s");
    const auto& lv = app.s.levels;
    EXPECT_EQ(list(lv.level_res) + "|" + std::to_string(lv.main_level_last) + "|" +
                  list(lv.overview_level) + "|" + std::to_string(lv.level_last) + "|" +
                  std::to_string(app.s.lowest_resolution),
              c.table);
    EXPECT_EQ(app.s.f1.Label4.caption, c.caption);
    if (c.message == any_error) {
      EXPECT_EQ(app.host.messages.size(), 1u);
    } else {
      EXPECT_EQ(app.host.messages, *c.message ? Strings{c.message} : Strings{});
    }
  }
}

// A resolution mkgmap cannot use is named with its file and line; a list of
// thousands of entries is cut at once.
TEST(OptionsFile, CautionsNameTheFileAndLine) {
  std::string many = "levels = ";
  for (int i = 0; i < 1000; ++i) many += "0:24, ";
  const struct {
    std::string options;
    int level_last;
    Strings messages;
  } cases[] = {
      {"# levels\nlevels = 0:24, 1:222\noverview-levels = 2:0\n",
       2,
       {"Caution: resolution 222 in FILE line 2 is outside 1-24. Check Options file.",
        "Caution: resolution 0 in FILE line 3 is outside 1-24. Check Options file."}},
      {many + "\n",
       254,
       {"Caution: the levels of FILE line 1 have more than 255 entries; the rest are ignored."}},
  };
  for (const auto& c : cases) {
    test::TestApp app;
    app.style("s", {{"options", c.options}});
    app.select("s");
    EXPECT_EQ(app.s.levels.level_last, c.level_last);
    auto expected = c.messages;
    for (auto& m : expected) m = text::replace_all(m, "FILE", app.dir.at("styles/s/options"));
    EXPECT_EQ(app.host.messages, expected);
  }
}

TEST(OptionsFile, IncludedFilesCountAsIfTheirLinesStoodInOptions) {
  using Files = std::map<std::string, std::string>;
  const struct {
    Files files;  // relative to the style folder "s"
    const char *level_res, *caption;
  } cases[] = {
      {{{"options", "include '../shared/options';\n"},
        {"../shared/options", "levels = 0:24, 1:22\n"}},
       "24,22",
       "Levels:0:24,1:22 + "},
      {{{"options", "\xEF\xBB\xBFinclude \"inc/levels\";\r\noverview-levels = 2:18\r\n"},
        {"inc/levels", "levels=0:24,1:21\r\n"}},
       "24,21,18",
       "Levels:0:24,1:21 + 2:18"},
      // Nested, in place of the statement, each file once.
      {{{"options", "include 'a';\n"},
        {"a", "include 'b';\ninclude 'options';\nlevels=0:24,1:20\n"},
        {"b", "include 'a';\n\tINCLUDE b\noverview-levels=2:16\n"}},
       "24,20,16",
       "Levels:0:24,1:20 + 2:16"},
      {{{"options", "levels=0:24,1:22\ninclude 'more';\n"}, {"more", "levels=0:23,1:21\n"}},
       "23,21",
       "Levels:0:23,1:21 + "},
      // Not followed: another style's file, a comment; a missing file is passed over.
      {{{"options",
         "include 'x' from default;\n# include 'x';\ninclude 'nothing';\nlevels=0:24,1:22\n"},
        {"x", "levels=0:20,1:18\n"}},
       "24,22",
       "Levels:0:24,1:22 + "},
  };
  for (const auto& c : cases) {
    test::TestApp app;
    for (const auto& [name, content] : c.files) app.dir.write("styles/s/" + name, content);
    app.select("s");
    EXPECT_EQ(list(app.s.levels.level_res), c.level_res) << c.files.at("options");
    EXPECT_EQ(app.s.f1.Label4.caption, c.caption) << c.files.at("options");
    EXPECT_EQ(app.host.messages, Strings{}) << c.files.at("options");
  }
}

// mkgmap draws a rule of resolution r at every level whose resolution is at
// least r, and a rule of level n at levels 0 to n: a converted rule must be
// drawn at the main levels at which its source was.
TEST(OptionsFile, ResolutionsBecomeTheLevelsMkgmapDrawsThemAt) {
  const char* const main = "levels = 0:24, 1:22, 2:20";
  const char* const overview = "levels = 0:24, 1:22, 2:20\noverview-levels = 3:18, 4:16";
  const struct {
    const char *options, *resolution, *level;
  } cases[] = {
      {main, "24", "0"},
      {main, "23", "0"},
      {main, "22", "1"},
      {main, "21", "1"},
      {main, "22.5", "1"},
      {main, "25", "0"},
      {main, "10", "2"},
      {main, "21-23", "1-1"},
      {main, "20-24", "2-0"},
      {main, "23-21", "1-1"},
      {main, "19-21", "2-2"},
      {main, "19-23", "2-1"},
      // Between overview levels, or below the last main one, as before.
      {overview, "17", "4"},
      {overview, "19", "3"},
      {overview, "16", "4"},
  };
  for (const auto& c : cases) {
    test::TestApp app;
    app.style("s", {{"options", std::string(c.options) + "\n"}});
    app.select("s");
    EXPECT_EQ(convertrl(app.s, c.resolution), c.level) << c.options << ": " << c.resolution;
  }
}

TEST(OptionsFile, AMissingFileIsReportedWithTheStylePathOnceAStyleIsChosen) {
  test::TestApp app;
  app.style("s", {{"lines", ""}});
  // A style root listed with no style chosen yet: nothing failed.
  app.s.style_root = app.dir.at("styles");
  get_styles(app.s, app.host);
  EXPECT_EQ(app.s.f1.Combo2.items, Strings{"s"});
  EXPECT_TRUE(app.host.messages.empty());
  app.select("s");
  EXPECT_EQ(app.host.messages,
            Strings{"Cannot find style's options file\r\n\r\n" + app.dir.at("styles/s/options")});
  EXPECT_EQ(app.s.levels.main_level_last, -1);
  EXPECT_EQ(app.s.lowest_resolution, 24);
}

TEST(OptionsFile, AnEmptyTableLeavesEveryReaderWithoutACrash) {
  test::TestApp app;
  app.style("s", {{"options", "levels=\n"},
                  {"lines", "highway=a [0x01 level 1]\nhighway=b [0x01 resolution 20]\n"}});
  app.select("s");
  app.click_kind(1);
  app.s.f1.Check1[0].value = 1;
  app.check();
  EXPECT_EQ(app.rows(), Strings{"2 20 24 - 01"});
  EXPECT_EQ(chklev(app.s, "20"), "-1");
  EXPECT_EQ(convertrl(app.s, "20-24"), "-1--1");
}

}  // namespace
}  // namespace zw
