#include <gtest/gtest.h>

#include "base/text.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::run_cli;

struct CliAnalyse : ::testing::Test {
  test::CliResult analyse(std::vector<std::string> args) {
    args.insert(args.begin(), {"analyse"});
    args.insert(args.end(), {"--system-dir", sys.at("system")});
    return run_cli(args);
  }
  test::TempDir sys;
};

TEST_F(CliAnalyse, PrintsEveryRowInTableOrderAndTheEmptyResultMessage) {
  auto r = analyse({test::example_style(), "--kind", "points", "--all", "--sort"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // The sort keeps file order among equal resolutions.
  EXPECT_TRUE(text::starts_with(r.out,
                                "rows\t10\nlowest\t16\n"
                                "3\t16\t24\t0\t0400\tplace=city [0x0400 resolution 16]\\r\n"))
      << r.out;
  EXPECT_TRUE(text::contains(r.out,
                             "6\t22\t24\t0\t1100\tplace=hamlet [0x1100 resolution 22]\\r\n"
                             "12\t22\t24\t0\t2E08\tshop=bicycle"))
      << r.out;
  r = analyse({test::example_style(), "--kind", "polygons", "--text", "WATER"});
  EXPECT_TRUE(text::starts_with(r.out, "rows\t2\n")) << r.out;
  r = analyse({test::example_style(), "--kind", "polygons", "--text", "nothing"});
  EXPECT_EQ(r.out, "rows\t0\nlowest\t16\n");
  EXPECT_EQ(r.err, "chart: No Resolution Data . Perhaps include text search\n");
}

TEST_F(CliAnalyse, IncludedFilesAndCategories) {
  auto r = analyse({test::example_style(), "--kind", "lines", "--inc", "--category", "HIGHWAY",
                    "--resolution", "24"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "rows\t3\nlowest\t16\n"
            "15\t24\t24\t0\t16\thighway=path [0x16 road_class=0 road_speed=0 resolution 24]\n"
            "a)8\t24\t24\t0\t07\thighway=service[0x07 road_class=0 road_speed=1 resolution 24]\n"
            "b)4\t24\t24\t0\t16\thighway=steps [0x16 road_class=0 road_speed=0 resolution 24]\n");
}

TEST_F(CliAnalyse, FieldsAreEscapedAndARunThatStopsPrintsNothingAndExitsOne) {
  test::TempDir styles;
  styles.write("s/options", "levels=0:24\n");
  // A NUL is escaped; a lone CR ends a line, as mkgmap reads it. A rule far
  // longer than the output's block, escapes all along it.
  std::string backslashes;
  for (int i = 0; i < 40000; ++i) backslashes += "x\\";
  styles.write("s/lines", std::string("a=b\\c\t[0x01 resolution 24]\rz=") + '\0' +
                              " [0x02 resolution 22]\nlong=" + backslashes +
                              " [0x03 resolution 20]\n");
  auto r = analyse({styles.at("s"), "--kind", "lines", "--text", "=", "--", "--odd-name"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(text::contains(r.err, "give one style directory")) << r.err;
  r = run_cli({"analyse", "--kind", "lines", "--text", "=", "--system-dir", sys.at("system"), "--",
               styles.at("s")});
  EXPECT_TRUE(text::contains(r.out,
                             "\ta=b\\\\c\\t[0x01 resolution 24]\n"
                             "2\t22\t24\t0\t02\tz=\\0 [0x02 resolution 22]\n"))
      << r.out;
  EXPECT_TRUE(text::contains(
      r.out, "\n3\t20\t24\t0\t03\tlong=" + text::replace_all(backslashes, "\\", "\\\\") +
                 " [0x03 resolution 20]\n"));
  styles.write("empty/.keep", "");
  r = analyse({styles.at("empty"), "--kind", "lines"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(text::contains(r.err, "message: Cannot find style's options file\\r\\n\\r\\n"))
      << r.err;
  EXPECT_TRUE(text::contains(r.err, "message: Please select or enter text\n")) << r.err;
}

// Rule lines at the edges of what the scanner reads (CR LF line ends, number
// forms, ranges, levels beyond the table, values beyond a byte), in the three
// scans: rows and messages exactly as they have always been.
TEST_F(CliAnalyse, EdgeRulesGiveTheSameRowsAndMessagesInEveryScan) {
  test::TempDir styles;
  styles.write("s/options", "levels = 0:24, 1:22, 2:20, 3:18\n");
  styles.write("s/lines",
               "# edge cases\r\n"
               "highway=a [0x01 resolution 20.4-20.2]\r\n"
               "highway=b [0x02 level 3-1 continue]\r\n"
               "highway=c\t[0x03  resolution\t2e1]\r\n"
               "highway=d [0x04 resolution 1e400]\r\n"
               "highway=e [0x05 level 9]\r\n"
               "Highway=F [0x06 resolution 21]continue\r\n"
               "highway=g & admin_level = 2 [0x07 resolution 23]\r\n"
               "highway=h [0x08 resolution 300]\r\n"
               "highway=i [0x09 level 2] # level rule\r\n"
               "service=j [0x0a resolution 8]\r\n"
               "highway=service [0x0b resolution 22]\r\n");
  const std::string rows =
      "2\t20\t20\t0\t01\thighway=a [0x01 resolution 20.4-20.2]\\r\n"
      "3\t18\t22\t1\t02\thighway=b [0x02 level 3-1 continue]\\r\n"
      "4\t20\t24\t0\t03\thighway=c [0x03 resolution 2e1]\\r\n"
      "7\t21\t24\t1\t06\thighway=f [0x06 resolution 21]continue\\r\n"
      "8\t23\t24\t0\t07\thighway=g & admin_level = 2 [0x07 resolution 23]\\r\n"
      "10\t20\t24\t0\t09\thighway=i [0x09 level 2] \n";
  const std::string service = "12\t22\t24\t0\t0B\thighway=service [0x0b resolution 22]\\r\n";
  const struct {
    std::vector<std::string> args;
    std::string out, err;
  } cases[] = {
      {{"--all"},
       "rows\t8\nlowest\t8\n" + rows + "11\t8\t24\t0\t0A\tservice=j [0x0a resolution 8]\\r\n" +
           service,
       "message: oops res\nmessage: Overflow\nmessage: Found undeclared level  9\nmessage: "
       "Overflow\n"},
      {{"--text", "highway", "--resolution", "20"},
       "rows\t2\nlowest\t18\n"
       "2\t20\t20\t0\t01\thighway=a [0x01 resolution 20.4-20.2]\\r\n"
       "4\t20\t24\t0\t03\thighway=c\\t[0x03  resolution\\t2e1]\\r\n",
       "message: oops res\nmessage: Overflow\nmessage: Overflow\nmessage: oops res\n"},
      {{"--category", "Highway", "--category", "Service"},
       "rows\t8\nlowest\t18\n" + rows + service + service,
       "message: oops res\nmessage: Overflow\n"
       "message: Subscript out of range: level_res(9) is outside 0 to 3\nmessage: Overflow\n"
       "message: Subscript out of range: level_res(8) is outside 0 to 3\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{styles.at("s"), "--kind", "lines"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto r = analyse(args);
    EXPECT_EQ(r.status, 0) << c.args[0];
    EXPECT_EQ(r.out, c.out) << c.args[0];
    EXPECT_EQ(r.err, c.err) << c.args[0];
  }
}

TEST_F(CliAnalyse, UsageErrorsExitTwoVersionHelpAndTheLevelsTable) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {test::example_style(), "--kind", "roads"},
           {test::example_style(), "--kind", "lines", "--bogus"},
           {test::example_style(), "--kind", "lines", "--category", "nosuch"},
           {test::example_style(), "--kind", "lines", "--resolution", "30"}}) {
    auto r = analyse(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_TRUE(text::contains(r.err, "usage:")) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(run_cli({}).status, 2);
  EXPECT_EQ(run_cli({"frobnicate"}).status, 2);
  EXPECT_EQ(run_cli({"--version"}).out, "zoomwright-cli 2.51\n");
  EXPECT_TRUE(text::contains(run_cli({"--help"}).out, "analyse STYLE_DIR"));
  auto r = run_cli({"levels", test::example_style(), "--system-dir", sys.at("system")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "level_res\t24 22 20 18 17 16\nmain_level_last\t3\noverview_level\t4 5\n"
            "overview_res\t17 16\noverview_level_last\t1\nlevel_last\t5\nlowest\t16\n"
            "caption\tLevels:0:24,1:22,2:20,3:18 + 4:17,5:16\n");
}

#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__)
// The program keeps its heap in huge pages with room to grow; under a limit of
// memory (the sanitizers need more than this one) it grows as usual and runs.
TEST_F(CliAnalyse, RunsUnderAMemoryLimit) {
#ifdef ZW_CLI_PATH
  auto r = test::run_program({"sh", "-c", "ulimit -v 250000 && exec \"$0\" \"$@\"", ZW_CLI_PATH,
                              "analyse", test::example_style(), "--kind", "lines", "--all",
                              "--system-dir", sys.at("system")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(text::starts_with(r.out, "rows\t16\n")) << r.out;
#endif
}
#endif

}  // namespace
}  // namespace zw
