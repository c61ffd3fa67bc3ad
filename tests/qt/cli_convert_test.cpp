#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "analysis/style_diff.h"
#include "app/files.h"
#include "app/text.h"
#include "platform/headless/headless_host.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

namespace fs = std::filesystem;

// The example style, copied into a temporary style root so that the new style
// is written beside it there.
struct CliConvert : ::testing::Test {
  void SetUp() override {
    fs::create_directories(to_fs_path(root.at("styles")));
    fs::copy(to_fs_path(std::string(ZW_SOURCE_DIR) + "/examples/styles/example"),
             to_fs_path(root.at("styles/example")), fs::copy_options::recursive);
  }
  test::CliResult cli(std::vector<std::string> args) {
    for (auto& a : args)
      if (a == "EXAMPLE") a = root.at("styles/example");
    args.insert(args.end(), {"--system-dir", root.at("system")});
    return test::run_cli(args);
  }
  std::set<std::string> names(const std::string& style) {
    std::set<std::string> out;
    for (const auto& [name, content] : root.tree("styles/" + style)) out.insert(name);
    return out;
  }
  test::TempDir root;
};

TEST_F(CliConvert, WritesTheWholeStyleAndItReadsAsAStyle) {
  auto r = cli({"convert", "EXAMPLE", "level style."});
  EXPECT_EQ(r.status, 0) << r.err;
  auto saving = [&](const std::string& file) {
    return "message: Now saving as " + escape_field(root.at("styles/levelstyle/" + file)) + "\n";
  };
  auto written = "message: New style : levelstyle \n" + saving("polygons") + saving("lines") +
                 saving("points") + "message: Extras= 2\n" + saving("inc/landcover") +
                 saving("inc/roads/main") + saving("inc/common");
  EXPECT_EQ(text::before(r.err, "message: Levels kept for "), written);
  EXPECT_EQ(names("levelstyle"), names("example"));
  auto lines = root.read("styles/levelstyle/lines");
  EXPECT_TRUE(text::contains(lines, "highway=primary [0x03 road_class=3 road_speed=5 level 0-3 ]\n"));
  EXPECT_FALSE(text::contains(lines, "resolution "));

  auto to = root.at("styles/levelstyle");
  EXPECT_EQ(cli({"levels", to}).out, cli({"levels", "EXAMPLE"}).out);
  int rules = 0;
  for (const char* kind : {"polygons", "lines", "points"}) {
    auto before = cli({"analyse", "EXAMPLE", "--kind", kind, "--all", "--inc"});
    auto after = cli({"analyse", to, "--kind", kind, "--all", "--inc"});
    EXPECT_EQ(after.err, "");
    EXPECT_EQ(text::before(after.out, "\n"), text::before(before.out, "\n")) << kind;
    rules += std::stoi(text::after(text::before(after.out, "\n"), "\t"));
  }
  // The last line accounts for every rule, kept or drawn at other levels.
  auto summary = text::after(r.err, written);
  auto kept = std::stoi(text::after(summary, "Levels kept for "));
  EXPECT_EQ(summary, "message: " + levels_kept_summary({kept, rules - kept, 0, 0}) + "\n");
}

TEST_F(CliConvert, QuestionsRefusalsAndUsage) {
  ASSERT_EQ(cli({"convert", "EXAMPLE", "copy"}).status, 0);
  const std::string asked =
      "message: New style : copy \nmessage: copy exists.  Are you sure you want to replace copy\n";
  const struct { std::vector<std::string> args; int status; std::string err_start; } cases[] = {
      {{"convert", "EXAMPLE", "copy"}, 1, asked},
      {{"convert", "EXAMPLE", "copy", "--yes"}, 0, asked + "message: Now saving as "},
      {{"convert", "EXAMPLE", "Example"}, 1,
       "message: New style : Example \nmessage: Target and source are the same ! Cannot continue:\n"},
      {{"convert", "EXAMPLE"}, 2, "zoomwright-cli convert: give the style directory"},
      {{"convert", "EXAMPLE", ". ,;"}, 2, "zoomwright-cli convert: the new style's name has no"},
      {{"convert", "EXAMPLE", "x", "--kind", "lines"}, 2, "zoomwright-cli convert: "},
  };
  for (const auto& c : cases) {
    auto r = cli(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_TRUE(text::starts_with(r.err, c.err_start)) << r.err;
  }
  std::set<std::string> styles;
  for (auto& e : fs::directory_iterator(to_fs_path(root.at("styles"))))
    styles.insert(from_fs_path(e.path().filename()));
  EXPECT_EQ(styles, (std::set<std::string>{"copy", "example"}));
}

}  // namespace
}  // namespace zw
