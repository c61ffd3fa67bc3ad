#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "base/std_file_system.h"
#include "app/menus.h"
#include "base/paths.h"
#include "base/text.h"
#include "app/convert_dialog.h"
#include "convert/convert_style.h"
#include "support/failing_fs.h"
#include "support/test_app.h"

namespace zw {
namespace {

const char* const four_levels = "levels = 0:24, 1:22, 2:20, 3:18\n";

// The messages, in order, each starting with its expected text.
void expect_starts(const Strings& messages, const Strings& starts, const std::string& what) {
  ASSERT_EQ(messages.size(), starts.size()) << what;
  for (std::size_t i = 0; i < starts.size(); ++i)
    EXPECT_TRUE(text::starts_with(messages[i], starts[i])) << what << ": " << messages[i];
}

TEST(ResolutionsToLevels, RewritesEveryResolutionUpToItsEndCharacter) {
  test::TestApp app;
  app.style("s", {{"options", four_levels}});
  app.select("s");
  // The messages: how each starts, split at "|".
  const struct {
    const char *in, *out, *messages;
  } cases[] = {
      {"[0x02 resolution 24-18]", "[0x02 level 0-3 ]", ""},
      {"[0x03 resolution 24(x)]", "[0x03 level 0 (x)]", ""},
      {"a [0x01 resolution 25] b [0x02 resolution 21] c [0x03 resolution 10]\n",
       "a [0x01 level 0 ] b [0x02 level 1 ] c [0x03 level 3 ]\n", ""},
      // Blanks and TABs after the keyword go; a TAB may stand for its blank.
      {"[0x01 resolution\t \t21-23]", "[0x01 level 1-1 ]", ""},
      // A range of one resolution converts as that resolution alone.
      {"[0x01 resolution 21-21] [0x02 resolution 21]", "[0x01 level 1-1 ] [0x02 level 1 ]", ""},
      {"# at resolution 24, the finest\n", "# at level 0  the finest\n", ""},
      {"[0x01 Resolution 24] [0x02 resolution 22]", "[0x01 Resolution 24] [0x02 level 1 ]", ""},
      // Nothing ends the resolution: converted anyway, with a warning.
      {"x resolution 24", "x level 0 ", "Check this"},
      {"x resolution abc", "x level 3 ", "OOpsabc|Check this"},
      // A part that cannot be converted keeps its text; the others go on.
      {"[0x01 resolution 1e999] [0x02 resolution 20]", "[0x01 level 1e999] [0x02 level 2 ]",
       "Overflow"},
      // A resolution ends at a line break, so the rule after a comment stays
      // whole, and it never takes the closing bracket along.
      {"# drawn from resolution 24\nhighway=path { set x=y } [0x16 resolution 22]\n",
       "# drawn from level 0 \nhighway=path { set x=y } [0x16 level 1 ]\n", ""},
      {"[0x01 resolution 23\r\n]", "[0x01 level 0 \r\n]", ""},
  };
  for (const auto& c : cases) {
    app.host.messages.clear();
    EXPECT_EQ(resolutions_to_levels(app.s, app.host, c.in), c.out) << c.in;
    expect_starts(app.host.messages, *c.messages ? text::split(c.messages, "|") : Strings{}, c.in);
  }
}

// A style "src" with levels, rules in resolutions and nested included files.
struct Convert : ::testing::Test {
  void SetUp() override {
    app.style("src",
              {{"options", four_levels},
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
  std::map<std::string, std::string> tree(const std::string& rel) const {
    return app.dir.tree("styles/" + rel);
  }
  bool convert(const std::string& name) {
    app.s.new_style_name = name;
    return convert_style(app.s, app.host) != Converted::refused;
  }
  bool said(const std::string& text) const { return app.said(text) > 0; }
  test::TestApp app;
};

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
  expected["inc/common"] = "access=no { set x=y }\nbarrier=gate [0x01 level 0 ]\n\r\n";
  EXPECT_EQ(tree("new"), expected);
  EXPECT_EQ(tree("src"), source);
}

TEST_F(Convert, ChecksStopBeforeAnythingIsAskedOrWritten) {
  auto refused = [&](const std::string& name, const std::string& start) {
    auto files = tree("");
    app.host.messages.clear();
    EXPECT_FALSE(convert(name)) << start;
    expect_starts(app.host.messages, {start}, name);
    EXPECT_EQ(tree(""), files) << start;
  };
  const std::string folder = "Cannot create the new style's folder ", too_long(300, 'n');
  refused("SRC", "Target and source are the same ! Cannot continue:");
  for (const char* bad : {"a/b", ".."}) refused(bad, folder + at(bad) + "\r\n\r\nA style's name");
  refused(too_long, folder + at(too_long) + "\r\n\r\n");
  std::filesystem::remove(to_fs_path(at("src/options")));
  refused("other", "Cannot find style's options file\r\n\r\n" + at("src/options"));
  app.s.levels.main_level_last = 0;
  refused("other", "Only one resolution");
}

TEST_F(Convert, AnExistingTargetIsReplacedOnlyOnYesAndKeepsItsOwnFiles) {
  ASSERT_TRUE(convert("new"));
  app.dir.write("styles/src/info", "changed\n");
  app.dir.write("styles/new/lines", "stale\n");
  for (auto answer : {Answer::no, Answer::cancel, Answer::yes}) {
    app.host.messages.clear();
    app.host.answers = {answer};
    EXPECT_EQ(convert("new"), answer == Answer::yes);
    EXPECT_EQ(app.host.messages.at(0), "new exists.  Are you sure you want to replace new");
    EXPECT_EQ(app.dir.read("styles/new/lines") == "stale\n", answer != Answer::yes);
  }
  EXPECT_EQ(app.dir.read("styles/new/info"), "about\n");  // kept from the first time
}

TEST_F(Convert, MissingFilesAndFilesOutsideTheStyleAreNamedAndNotWritten) {
  for (const char* gone : {"info", "version", "polygons"})
    std::filesystem::remove(to_fs_path(at(std::string("src/") + gone)));
  app.style("other",
            {{"inc/x", "shared [0x01 resolution 24]\n"}, {"inc/y", "include 'inc/common';\n"}});
  app.dir.write("styles/src/lines",
                "include '../other/inc/x';\ninclude \"../other/inc/y\";\nx [0x03 resolution 22]\n");
  app.dir.write("styles/src/inc/roads/main", "x [0x0a resolution 24]\n");
  auto other = tree("other");
  EXPECT_TRUE(convert("new"));
  for (const char* file : {"info", "version"})
    EXPECT_TRUE(said("The style has no " + std::string(file) + " file (" + at("src/") + file +
                     "), so the new style has none."));
  EXPECT_TRUE(said("None herepolygons"));
  EXPECT_TRUE(said("cannot find " + at("src/polygons")));
  // One message names every file outside; what they include inside is converted.
  EXPECT_TRUE(said(
      "Neither copied nor converted, as they lie outside the style's folder (the new style finds "
      "them by the same names): " +
      at("src/../other/inc/x") + ", " + at("src/../other/inc/y")));
  EXPECT_EQ(tree("other"), other);
  EXPECT_EQ(app.dir.read("styles/new/inc/common"),
            "access=no { set x=y }\nbarrier=gate [0x01 level 0 ]\n\r\n");
  Strings made;
  for (const auto& [name, content] : tree("new")) made.push_back(name);
  EXPECT_EQ(made, (Strings{"inc/common", "inc/land", "inc/roads/main", "lines", "options", "points",
                           "relations"}));
}

// Every file and folder of the source comes along; each file of the new style
// is written once, a rule file that is also included as such.
TEST_F(Convert, EverythingElseIsCopiedAndEachFileWrittenOnce) {
  app.dir.write("styles/src/relations", "type=route { set route=yes }\ninclude 'inc/rel_x';\n");
  app.dir.write("styles/src/inc/rel_x", "type=multipolygon { set x=y }\n");
  app.dir.write("styles/src/README", "notes\n");
  app.dir.write("styles/src/icons/small/a.xpm", "xpm\n");
  app.dir.write("styles/src/polygons",
                "include 'inc/../lines';\ninclude 'inc/common';\nx [0x3c resolution 20]\n");
  app.dir.write("styles/new/README", "mine\n");
  app.host.answers = {Answer::yes};
  auto source = tree("src");
  EXPECT_TRUE(convert("new"));
  auto copy = tree("new");
  for (const char* same :
       {"relations", "inc/rel_x", "icons/small/a.xpm", "inc/land", "options", "points"})
    EXPECT_EQ(copy[same], source[same]) << same;
  EXPECT_EQ(copy["README"], "mine\n");
  EXPECT_EQ(copy["lines"], "include 'inc/roads/main';\nhighway=primary [0x03 level 1 ]\n\r\n");
  EXPECT_EQ(copy.size(), source.size());
  for (const auto& written : {at("new/lines"), at("new/inc/common")})
    EXPECT_EQ(app.said("Now saving as " + written), 1) << written;
  EXPECT_EQ(tree("src"), source);
}

#ifndef _WIN32
// A link to the system's process tables reads as nothing, a named pipe never
// returns: each is named, and nothing empty stands in for it in the copy.
TEST_F(Convert, WhatIsNotARegularFileIsNamedAndLeftOut) {
  namespace fs = std::filesystem;
  fs::create_symlink("/proc/self/status", to_fs_path(at("src/inc/status")));
  ASSERT_EQ(mkfifo(at("src/inc/fifo").c_str(), 0600), 0);
  app.dir.write("styles/src/lines",
                "include 'inc/status';\ninclude 'inc/fifo';\nx [0x03 resolution 22]\n");
  EXPECT_TRUE(convert("new"));
  for (const char* file : {"status", "fifo"}) {
    EXPECT_TRUE(
        said("Not read, as it is not a regular file: " + at(std::string("src/inc/") + file)))
        << file;
    EXPECT_FALSE(fs::exists(fs::symlink_status(to_fs_path(at(std::string("new/inc/") + file)))))
        << file;
  }
  EXPECT_EQ(app.dir.read("styles/new/lines"),
            "include 'inc/status';\ninclude 'inc/fifo';\nx [0x03 level 1 ]\n\r\n");
}

// Folders that links lead to by many names, three ways at each of 20 levels:
// each real folder is copied once, and the conversion ends at once.
TEST_F(Convert, AFolderReachedByManyLinksIsCopiedOnce) {
  namespace fs = std::filesystem;
  for (int k = 0; k <= 20; ++k) {
    auto dir = "styles/src/store/d" + std::to_string(k);
    app.dir.write(dir + "/note", std::to_string(k) + "\n");
    if (k == 20) break;
    for (const char* link : {"a", "b", "c"})
      fs::create_directory_symlink("../d" + std::to_string(k + 1),
                                   to_fs_path(app.dir.at(dir + "/" + link)));
  }
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(convert("new"));
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10);
  int notes = 0;
  for (const auto& [name, content] : tree("new")) notes += name.ends_with("note");
  EXPECT_EQ(notes, 21);
}
#endif

// A folder that cannot be read leaves the copy incomplete, and says so.
TEST_F(Convert, AnUnreadableFolderMakesTheCopyIncomplete) {
  test::FailingFileSystem failing;
  app.host.fs_override = &failing;
  app.dir.write("styles/src/icons/a.xpm", "xpm\n");
  failing.unlistable.insert(at("src/icons"));
  app.s.new_style_name = "new";
  EXPECT_EQ(convert_style(app.s, app.host), Converted::incomplete);
  EXPECT_TRUE(
      said("Not copied: cannot read the folder " + at("src/icons") + ": Permission denied"));
  EXPECT_TRUE(said("The new style " + at("new") + " is incomplete"));
}

// One question, one summary of what was written ending with the check of the
// copy, and the new style charted with the same kind.
TEST_F(Convert, TheMenuAsksForTheNameThenConvertsSumsUpAndChartsTheNewStyle) {
  app.click_kind(1);
  app.s.f1.Check1[0].value = 1;
  int runs = app.s.analysis_runs;
  app.host.on_dialog = [&](Dialog) {
    convert_form::Form_Load(app.s, app.host);
    EXPECT_EQ((Strings{app.s.convert.Text1.text, app.s.convert.Label3.caption}),
              (Strings{"untitled", "src"}));
    // The keys a style's name cannot hold are dropped as they are typed.
    app.s.convert.Text1.text = convert_form::typed("my new.1,;-_");
    app.host.answers = {Answer::yes};
    EXPECT_TRUE(convert_form::command1_Click(app.s, app.host, 1));
  };
  mtls_Click(app.s, app.host, 0);
  ASSERT_EQ(app.host.messages.size(), 2u);
  EXPECT_EQ(app.host.messages[0], "New style : mynew1-_ ");
  const auto& summary = app.host.messages[1];
  EXPECT_EQ(
      summary.rfind(
          "The new style " + at("mynew1-_") + ":\r\nNow saving as " + at("mynew1-_/polygons"), 0),
      0u)
      << summary;
  EXPECT_TRUE(summary.ends_with("\r\n\r\nLevels kept for 6 rules; 0 rules drawn at other levels"))
      << summary;
  EXPECT_EQ(tree("mynew1-_").size(), 10u);
  EXPECT_EQ(app.s.f1.Combo2.items, (Strings{"mynew1-_", "src"}));
  EXPECT_EQ(app.s.f1.Combo2.text, "mynew1-_");
  EXPECT_EQ(app.s.style_name, "mynew1-_");
  EXPECT_EQ(app.s.selected_kind, 1);
  EXPECT_EQ(app.s.analysis_runs, runs + 1);
  mtls_Click(app.s, app.host, 1);  // the separator item
  EXPECT_EQ(app.host.dialogs_shown.size(), 1u);
}

}  // namespace
}  // namespace zw
