#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "analysis/includes.h"
#include "base/std_file_system.h"
#include "base/include_statements.h"
#include "base/paths.h"
#include "base/text_files.h"
#include "base/text.h"
#include "support/style_forms.h"
#include "support/test_app.h"

namespace zw {
namespace {

TEST(IncludeStatement, NamesTheFileAsMkgmapReadsIt) {
  const struct {
    const char* line;
    const char* name;
  } cases[] = {
      {"include 'inc/roads';", "inc/roads"},
      {"  \tINCLUDE \"inc/name with blank\" ;", "inc/name with blank"},
      {"Include\taccess", "access"},
      {"include inc\\roads; # bare, up to the semicolon", "inc\\roads"},
      {"include '../common/lines'", "../common/lines"},
      {"include 'inc/x' # from elsewhere", "inc/x"},
      // Not statements: a comment, a word that only starts so, no name,
      // an open quote, a file of another style.
      {"# include 'inc/roads';", nullptr},
      {"includes 'inc/roads';", nullptr},
      {"include'inc/roads';", nullptr},
      {"include ;", nullptr},
      {"include '';", nullptr},
      {"include 'inc/roads;", nullptr},
      {"include 'lines' from default;", nullptr},
      {"include inc/x\tFROM other", nullptr},
      {"highway=a [0x01 resolution 20] include 'x'", nullptr},
  };
  for (const auto& c : cases) {
    auto name = include_statement(c.line);
    EXPECT_EQ(name.value_or("(none)"), c.name ? c.name : "(none)") << c.line;
  }
  // Each name once, in statement order; a byte-order mark starts only the file.
  EXPECT_EQ(
      include_names(
          "\xEF\xBB\xBFinclude 'b';\ninclude 'a';\r\ninclude \"b\";\n\xEF\xBB\xBFinclude 'c';"),
      (Strings{"b", "a"}));
}

struct Includes : ::testing::Test {
  // The recorded files, as "digit path-relative-to-styles".
  Strings recorded() const {
    Strings out;
    auto base = app.dir.at("styles") + paths::sep_text;
    for (int i = 0; i <= app.s.includes.extra_count; ++i) {
      const auto& e = app.s.includes.extra_files[static_cast<std::size_t>(i)];
      out.push_back(e.substr(0, 1) + " " +
                    text::replace_all(e.substr(1), paths::sep_text, "/").substr(base.size()));
    }
    return out;
  }
  void run_lines(const std::string& style) {
    app.select(style);
    app.click_kind(1);
    app.s.f1.inc.value = 1;
    app.s.f1.Check1[0].value = 1;
    app.check();
  }
  // Looks for the files included by the lines of a style "s" of these files.
  void search(std::map<std::string, std::string> files) {
    files.emplace("options", "levels=0:24\n");
    app.style("s", files);
    app.select("s");
    chknodata(app.s, app.host, 1);
  }
  test::TestApp app;
};

TEST_F(Includes, EveryFormAndEveryDepthIsFollowedBreadthFirst) {
  test::write_form_styles(app.dir);
  run_lines("forms");
  EXPECT_EQ(recorded(),
            (Strings{"1 forms/inc/roads", "1 forms/inc/paths", "1 forms/beside",
                     "1 forms/../shared/common", "1 forms/inc/nest1", "1 forms/inc/from_shared",
                     "1 forms/inc/nest2", "1 forms/inc/nest3"}));
  EXPECT_EQ(app.rows(), test::form_rows());
  EXPECT_EQ(app.s.f1.Label6.caption, "7");
  EXPECT_EQ(app.host.messages, Strings{});
}

TEST_F(Includes, EachFileIsRecordedOncePerKindWhateverTheCycles) {
  test::write_form_styles(app.dir);
  // The rule file itself is never recorded: its rules are charted once.
  run_lines("cycle");
  EXPECT_EQ(recorded(), (Strings{"1 cycle/inc/a", "1 cycle/inc/b"}));
  EXPECT_EQ(app.rows(), (Strings{"3 24 24 - 1B", "a)3 22 24 - 1F", "b)3 20 24 - 18"}));
  // Another kind that includes the same file gets entries of its own.
  app.dir.write("styles/cycle/polygons", "include 'inc/b';\n");
  app.s.scan_busy = false;
  chknodata(app.s, app.host, 0);
  EXPECT_EQ(recorded(), (Strings{"1 cycle/inc/a", "1 cycle/inc/b", "0 cycle/inc/b", "0 cycle/inc/a",
                                 "0 cycle/inc/../lines"}));
  // While a search is under way another one does nothing.
  EXPECT_TRUE(chknodata(app.s, app.host, 2));
}

// The search skips a rule file in which no line starts with the word include;
// a lone carriage return ends a line, as mkgmap reads it, and CR LF is one end.
TEST_F(Includes, StatementsAreFoundWhereverNormalisingFormsThem) {
  const struct {
    const char* lines;
    Strings recorded;
  } cases[] = {
      {"inc\rlude 'inc/a';\n", {}},
      {"x\rinclude 'inc/a';\n", {"1 s/inc/a"}},
      {"\xEF\xBB\xBFinclude 'inc/a';\r\n", {"1 s/inc/a"}},
      {"x [0x01 resolution 20]\r\ninclude\r 'inc/a';\r\n", {}},
      {"x\n \t\r INCLUDE inc/a\n", {"1 s/inc/a"}},
      {"# include 'inc/a';\nname=include [0x01 resolution 20]\nx & include='inc/a'\n", {}},
      {"x\n\xEF\xBB\xBFinclude 'inc/a';\n", {}},  // a byte-order mark starts only the file
      {"x\n[include 'inc/a']\n", {}},
  };
  for (const auto& c : cases) {
    search({{"lines", c.lines}, {"inc/a", "x [0x02 resolution 22]\n"}});
    EXPECT_EQ(recorded(), c.recorded) << c.lines;
    EXPECT_EQ(app.s.includes.extra_done, "1");
    EXPECT_TRUE(app.s.scan_busy);
    app.s.scan_busy = false;
  }
}

TEST_F(Includes, MissingRuleFileIsReported) {
  search({});
  EXPECT_EQ(app.host.messages, Strings{"cannot find " + rule_file_path(app.s, 1)});
  EXPECT_EQ(app.s.includes.extra_count, -1);
}

TEST_F(Includes, TheFiftySecondFileIsRefusedWithOneMessage) {
  std::map<std::string, std::string> files{{"lines", ""}};
  for (int i = 0; i < 55; ++i) {
    files["lines"] += "include 'inc/f" + std::to_string(i) + "';\n";
    files["inc/f" + std::to_string(i)] = "x [0x01 resolution 20]\n";
  }
  search(files);
  EXPECT_EQ(app.s.includes.extra_count, 50);
  ASSERT_EQ(app.host.messages.size(), 1u);
  EXPECT_TRUE(text::contains(app.host.messages[0], "More than 51 included files"));
}

// Each statement is checked against those before it at a constant cost: a
// rule file of tens of thousands of includes took minutes when each one was
// looked for in the text of all before it.
TEST_F(Includes, ManyDistinctStatementsAreCollectedInOnePass) {
  std::string lines;
  for (int i = 0; i < 40000; ++i) lines += "include 'inc/f" + std::to_string(i) + "';\n";
  lines += "include 'inc/real';\n";
  search({{"lines", lines}, {"inc/real", "x\n"}});
  EXPECT_EQ(recorded(), Strings{"1 s/inc/real"});
}

TEST_F(Includes, LoadbinaryNormalisesBlanksAndRefusesAFileTooLargeToRead) {
  app.dir.write("f", "a\t =  [ 0x01 ]\r\n");
  EXPECT_EQ(loadbinary(app.s, app.host, app.dir.at("f"), true), "a= [0x01]\r\n");
  EXPECT_EQ(loadbinary(app.s, app.host, "", true), "");
  app.dir.write("big", "");
  std::filesystem::resize_file(to_fs_path(app.dir.at("big")),
                               static_cast<std::uintmax_t>(max_read_bytes) + 1);
  EXPECT_EQ(loadbinary(app.s, app.host, app.dir.at("big"), true), "");
  EXPECT_EQ(loadtext(app.host, app.dir.at("big")), "");
  ASSERT_EQ(app.host.messages.size(), 2u);
  EXPECT_TRUE(text::contains(app.host.messages[0], "too large"));
}

}  // namespace
}  // namespace zw
