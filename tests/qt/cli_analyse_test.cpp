#include <gtest/gtest.h>

#include "app/text.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::run_cli;

std::string example() { return std::string(ZW_SOURCE_DIR) + "/examples/styles/example"; }

struct CliAnalyse : ::testing::Test {
  test::CliResult analyse(std::vector<std::string> args) {
    args.insert(args.begin(), {"analyse"});
    args.insert(args.end(), {"--system-dir", sys.at("system")});
    return run_cli(args);
  }
  test::TempDir sys;
};

TEST_F(CliAnalyse, PrintsEveryRowInTableOrderAndTheEmptyResultMessage) {
  auto r = analyse({example(), "--kind", "points", "--all", "--sort"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  // The sort keeps file order among equal resolutions.
  EXPECT_TRUE(text::starts_with(r.out, "rows\t10\nlowest\t16\n"
                                       "3\t16\t24\t0\t0400\tplace=city [0x0400 resolution 16]\\r\n"))
      << r.out;
  EXPECT_TRUE(text::contains(r.out, "6\t22\t24\t0\t1100\tplace=hamlet [0x1100 resolution 22]\\r\n"
                                    "12\t22\t24\t0\t2E08\tshop=bicycle"))
      << r.out;
  r = analyse({example(), "--kind", "polygons", "--text", "WATER"});
  EXPECT_TRUE(text::starts_with(r.out, "rows\t2\n")) << r.out;
  r = analyse({example(), "--kind", "polygons", "--text", "nothing"});
  EXPECT_EQ(r.out, "rows\t0\nlowest\t16\n");
  EXPECT_EQ(r.err, "chart: No Resolution Data . Perhaps include text search\n");
}

TEST_F(CliAnalyse, IncludedFilesAndCategories) {
  auto r = analyse({example(), "--kind", "lines", "--inc", "--category", "HIGHWAY", "--resolution", "24"});
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
  styles.write("s/lines", "a=b\\c\t[0x01 resolution 24]\n");
  auto r = analyse({styles.at("s"), "--kind", "lines", "--text", "a=b"});
  EXPECT_TRUE(text::contains(r.out, "\ta=b\\\\c\\t[0x01 resolution 24]\n")) << r.out;
  styles.write("empty/.keep", "");
  r = analyse({styles.at("empty"), "--kind", "lines"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(text::contains(r.err, "message: Cannot find style's options file\\r\\n\\r\\n")) << r.err;
  EXPECT_TRUE(text::contains(r.err, "message: Please select or enter text\n")) << r.err;
}

TEST_F(CliAnalyse, UsageErrorsExitTwoVersionHelpAndTheLevelsTable) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {example(), "--kind", "roads"},
           {example(), "--kind", "lines", "--bogus"},
           {example(), "--kind", "lines", "--category", "nosuch"},
           {example(), "--kind", "lines", "--resolution", "30"}}) {
    auto r = analyse(args);
    EXPECT_EQ(r.status, 2) << args.back();
    EXPECT_TRUE(text::contains(r.err, "usage:")) << r.err;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(run_cli({}).status, 2);
  EXPECT_EQ(run_cli({"frobnicate"}).status, 2);
  EXPECT_EQ(run_cli({"--version"}).out, "zoomwright-cli 2.51\n");
  EXPECT_TRUE(text::contains(run_cli({"--help"}).out, "analyse STYLE_DIR"));
  auto r = run_cli({"levels", example(), "--system-dir", sys.at("system")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "level_res\t24 22 20 18 17 16\nmain_level_last\t3\noverview_level\t4 5\n"
            "overview_res\t17 16\noverview_level_last\t1\nlevel_last\t5\nlowest\t16\n"
            "caption\tLevels:0:24,1:22,2:20,3:18 + 4:17,5:16\n");
}

}  // namespace
}  // namespace zw
