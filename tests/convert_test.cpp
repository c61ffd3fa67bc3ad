#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/files.h"
#include "app/paths.h"
#include "app/text.h"
#include "convert/convert_dialog.h"
#include "convert/convert_style.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::TestApp;
using Strings = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

const char* const four_levels = "levels = 0:24, 1:22, 2:20, 3:18\n";

TEST(ResolutionsToLevels, RewritesEveryResolutionUpToItsEndCharacter) {
  TestApp app;
  app.style("s", {{"options", four_levels}});
  app.select("s");
  struct Case {
    const char* in;
    const char* out;
    Strings messages;
  };
  const Case cases[] = {
      {"highway=motorway [0x01 resolution 23]", "highway=motorway [0x01 level 1 ]", {}},
      {"[0x02 resolution 24-18]", "[0x02 level 0-3 ]", {}},
      {"[0x02 resolution 22 continue]", "[0x02 level 1  continue]", {}},
      {"x=y [0x02 resolution 20-24 { set a=b }", "x=y [0x02 level 2-0 { set a=b }", {}},
      {"[0x03 resolution   22]  ", "[0x03 level 1 ]  ", {}},
      {"[0x03 resolution 24(x)]", "[0x03 level 0 (x)]", {}},
      {"a [0x01 resolution 24] b [0x02 resolution 21] c [0x03 resolution 10]\n",
       "a [0x01 level 0 ] b [0x02 level 2 ] c [0x03 level 3 ]\n", {}},
      {"p [0x01 resolution 16]\r\nq [0x02 resolution 18]\r\n",
       "p [0x01 level 3 ]\r\nq [0x02 level 3 ]\r\n", {}},
      {"# at resolution 24, the finest\n", "# at level 0  the finest\n", {}},
      {"[0x01 Resolution 24] [0x02 resolution 22]", "[0x01 Resolution 24] [0x02 level 1 ]", {}},
      // Nothing ends the resolution: converted anyway, with a warning.
      {"x resolution 24", "x level 0 ", {"Check this"}},
      {"x resolution abc", "x level 3 ", {"OOpsabc", "Check this"}},
      // A part that cannot be converted keeps its text; the others go on.
      {"[0x01 resolution 1e999] [0x02 resolution 20]", "[0x01 level 1e999] [0x02 level 2 ]",
       {"Overflow"}},
      // A resolution ends at a line break, so the rule after a comment stays
      // whole, and it never takes the closing bracket along.
      {"# drawn from resolution 24\nhighway=path { set x=y } [0x16 resolution 22]\n",
       "# drawn from level 0 \nhighway=path { set x=y } [0x16 level 1 ]\n", {}},
      {"[0x01 resolution 23\r\n]", "[0x01 level 1 \r\n]", {}},
      {"[0x01 resolution 24]{x=y}", "[0x01 level 0 ]{x=y}", {}},
  };
  for (const auto& c : cases) {
    app.host.messages.clear();
    EXPECT_EQ(resolutions_to_levels(app.s, app.host, c.in), c.out) << c.in;
    EXPECT_EQ(app.host.messages.size(), c.messages.size()) << c.in;
    for (std::size_t i = 0; i < c.messages.size() && i < app.host.messages.size(); ++i)
      EXPECT_TRUE(text::starts_with(app.host.messages[i], c.messages[i])) << app.host.messages[i];
  }
}

// A style "src" with levels, rules in resolutions and nested included files.
struct SourceStyle {
  SourceStyle() {
    app.style("src", {{"options", four_levels},
                      {"info", "about\n"},
                      {"version", "1\n"},
                      {"relations", "type=route { set route=yes }\n"},
                      {"lines", "include 'inc/roads/main';\nhighway=primary [0x03 resolution 22]\n"},
                      {"polygons", "include 'inc/land';\nnatural=water [0x3c resolution 20]\n"},
                      {"points", "place=city [0x0400 level 2]\r\n"},
                      {"inc/roads/main", "include 'inc/common';\nhighway=track [0x0a resolution 24]\n"},
                      {"inc/land", "landuse=forest [0x50 level 1]\n"},
                      {"inc/common", "access=no { set x=y }\nbarrier=gate [0x01 resolution 23]\n"}});
    app.select("src");
    app.host.messages.clear();
  }
  std::string at(const std::string& rel) const { return app.dir.at("styles/" + rel); }
  Files tree(const std::string& rel) const { return app.dir.tree("styles/" + rel); }
  bool convert(const std::string& name) {
    app.s.new_style_name = name;
    return convert_style(app.s, app.host);
  }
  bool said(const std::string& text) const {
    const auto& m = app.host.messages;
    return std::find(m.begin(), m.end(), text) != m.end();
  }
  TestApp app;
};

struct Convert : ::testing::Test, SourceStyle {};

TEST_F(Convert, WritesACompleteStyleAndLeavesTheSourceAlone) {
  auto source = tree("src");
  EXPECT_TRUE(convert("new"));
  EXPECT_EQ(app.host.messages,
            (Strings{"Now saving as " + at("new/polygons"), "Now saving as " + at("new/lines"),
                     "None herepoints", "Extras= 2", "None here" + paths::to_host("inc/land"),
                     "Now saving as " + at("new/inc/roads/main"),
                     "Now saving as " + at("new/inc/common")}));
  // Files without resolutions are copied as they are; rewritten ones end in CR LF.
  auto expected = source;
  expected["polygons"] = "include 'inc/land';\nnatural=water [0x3c level 2 ]\n\r\n";
  expected["lines"] = "include 'inc/roads/main';\nhighway=primary [0x03 level 1 ]\n\r\n";
  expected["inc/roads/main"] = "include 'inc/common';\nhighway=track [0x0a level 0 ]\n\r\n";
  expected["inc/common"] = "access=no { set x=y }\nbarrier=gate [0x01 level 1 ]\n\r\n";
  EXPECT_EQ(tree("new"), expected);
  EXPECT_EQ(tree("src"), source);
}

TEST_F(Convert, ChecksStopBeforeAnythingIsAskedOrWritten) {
  const std::string too_long(300, 'n');
  struct Case {
    std::string name;
    void (*prepare)(SourceStyle&);
    std::string message, path, after;  // the message's start: message + path of a file + after
  };
  const Case cases[] = {
      {"other", [](SourceStyle& t) { t.app.s.levels.main_level_last = 0; }, "Only one resolution"},
      {"SRC", nullptr, "Target and source are the same ! Cannot continue:"},
      {"other",
       [](SourceStyle& t) { std::filesystem::remove(to_fs_path(t.at("src/options"))); },
       "Cannot find style's options file\r\n\r\n", "src/options"},
      {"a/b", nullptr, "Cannot create the new style's folder ", "a/b", "\r\n\r\nA style's name"},
      {"..", nullptr, "Cannot create the new style's folder ", "..", "\r\n\r\nA style's name"},
      {too_long, nullptr, "Cannot create the new style's folder ", too_long, "\r\n\r\n"},
  };
  for (const auto& c : cases) {
    SourceStyle t;
    if (c.prepare) c.prepare(t);
    auto files = t.tree("");
    auto start = c.message + (c.path.empty() ? "" : t.at(c.path)) + c.after;
    EXPECT_FALSE(t.convert(c.name)) << start;
    ASSERT_EQ(t.app.host.messages.size(), 1u) << start;
    EXPECT_TRUE(text::starts_with(t.app.host.messages[0], start)) << t.app.host.messages[0];
    EXPECT_EQ(t.tree(""), files) << start;
  }
}

TEST_F(Convert, AnExistingTargetIsReplacedOnlyOnYesAndKeepsItsOwnFiles) {
  ASSERT_TRUE(convert("new"));
  app.dir.write("styles/src/info", "changed\n");
  app.dir.write("styles/new/lines", "stale\n");
  const std::string question = "new exists.  Are you sure you want to replace new";
  for (auto answer : {Answer::no, Answer::cancel, Answer::yes}) {
    app.host.messages.clear();
    app.host.answers = {answer};
    EXPECT_EQ(convert("new"), answer == Answer::yes);
    EXPECT_EQ(app.host.messages.at(0), question);
    EXPECT_EQ(app.dir.read("styles/new/lines") == "stale\n", answer != Answer::yes);
  }
  EXPECT_EQ(app.dir.read("styles/new/info"), "about\n");  // kept from the first time
}

TEST_F(Convert, MissingSourceFilesAreNamedAndNotCreated) {
  for (const char* gone : {"info", "version", "polygons", "inc/common"})
    std::filesystem::remove(to_fs_path(at(std::string("src/") + gone)));
  EXPECT_TRUE(convert("new"));
  EXPECT_TRUE(said("The style has no info file (" + at("src/info") + "), so the new style has none."));
  EXPECT_TRUE(said("The style has no version file (" + at("src/version") +
                   "), so the new style has none."));
  EXPECT_TRUE(said("None herepolygons"));
  EXPECT_TRUE(said("cannot find " + at("src/polygons")));
  Strings made;
  for (const auto& [name, content] : tree("new")) made.push_back(name);
  EXPECT_EQ(made, (Strings{"inc/roads/main", "lines", "options", "points", "relations"}));
}

TEST_F(Convert, AnIncludedFileOutsideTheStyleIsNotWritten) {
  app.style("other", {{"inc/x", "shared [0x01 resolution 24]\n"}});
  app.dir.write("styles/src/lines", "include 'inc/../../other/inc/x';\nx [0x03 resolution 22]\n");
  auto other = tree("other");
  EXPECT_TRUE(convert("new"));
  EXPECT_TRUE(said("Not copied, as it lies outside the style's folder: " +
                   at("src/inc/../../other/inc/x")));
  EXPECT_EQ(tree("other"), other);
  EXPECT_EQ(tree("new").count("inc/x"), 0u);
}

TEST_F(Convert, TheMenuAsksForTheNameThenConvertsListsAndRunsTheAnalysis) {
  app.click_kind(1);
  app.s.f1.Check1[0].value = 1;
  int runs = app.s.analysis_runs;
  app.host.on_dialog = [&](Dialog) {
    convert_form::Form_Load(app.s, app.host);
    EXPECT_EQ(app.s.convert.Text1.text, "untitled");
    EXPECT_EQ(app.s.convert.Label3.caption, "src");
    app.s.convert.Text1.text = convert_form::typed("my new.1");
    app.host.answers = {Answer::yes};
    EXPECT_TRUE(convert_form::command1_Click(app.s, app.host, 1));
  };
  mtls_Click(app.s, app.host, 0);
  EXPECT_EQ(app.host.messages.at(0), "New style : mynew1 ");
  EXPECT_EQ(tree("mynew1").size(), 10u);
  EXPECT_EQ(app.s.f1.Combo2.items, (Strings{"mynew1", "src"}));
  EXPECT_EQ(app.s.f1.Combo2.text, "src");
  EXPECT_EQ(app.s.analysis_runs, runs + 1);

  // "Close", or the separator item, converts nothing.
  app.host.on_dialog = [&](Dialog) { EXPECT_TRUE(convert_form::command1_Click(app.s, app.host, 0)); };
  app.host.messages.clear();
  mtls_Click(app.s, app.host, 0);
  mtls_Click(app.s, app.host, 1);
  EXPECT_EQ(app.host.messages, Strings{});
  EXPECT_EQ(app.host.dialogs_shown.size(), 2u);
}

TEST(ConvertDialog, DropsSeparatorKeysAndAnswersTheQuestion) {
  EXPECT_EQ(convert_form::typed("my style.2"), "mystyle2");
  EXPECT_EQ(convert_form::typed("a,b;c d.e-f_g"), "abcde-f_g");
  TestApp app;
  struct Case {
    Answer answer;
    bool closes;
    const char* name_after;  // No keeps the name recorded; Cancel clears it
  };
  for (const auto& c : {Case{Answer::yes, true, "fresh"}, Case{Answer::no, false, "fresh"},
                        Case{Answer::cancel, true, ""}}) {
    app.host.messages.clear();
    app.s.convert.Text1.text = "fresh";
    app.host.answers = {c.answer};
    EXPECT_EQ(convert_form::command1_Click(app.s, app.host, 1), c.closes);
    EXPECT_EQ(app.s.new_style_name, c.name_after);
    EXPECT_EQ(app.host.messages, Strings{"New style : fresh "});
  }
}

}  // namespace
}  // namespace zw
