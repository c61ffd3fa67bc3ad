#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/files.h"
#include "platform/headless/headless_host.h"
#include "app/text.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::run_cli;
using Strings = std::vector<std::string>;

// The example style, copied into a temporary style root so that the new style
// is written beside it there.
struct CliConvert : ::testing::Test {
  void SetUp() override {
    namespace fs = std::filesystem;
    fs::create_directories(to_fs_path(root.at("styles")));
    fs::copy(to_fs_path(std::string(ZW_SOURCE_DIR) + "/examples/styles/example"),
             to_fs_path(root.at("styles/example")), fs::copy_options::recursive);
  }
  test::CliResult cli(std::vector<std::string> args) {
    args.insert(args.end(), {"--system-dir", root.at("system")});
    return run_cli(args);
  }
  test::CliResult convert(const std::string& name, bool yes = false) {
    std::vector<std::string> args{"convert", root.at("styles/example"), name};
    if (yes) args.push_back("--yes");
    return cli(args);
  }
  Strings files(const std::string& style) {
    Strings out;
    namespace fs = std::filesystem;
    auto base = to_fs_path(root.at("styles/" + style));
    for (auto& e : fs::recursive_directory_iterator(base))
      if (e.is_regular_file()) out.push_back(from_fs_path(e.path().lexically_relative(base)));
    std::sort(out.begin(), out.end());
    return out;
  }
  std::string styles() { return root.at("styles"); }
  test::TempDir root;
};

TEST_F(CliConvert, WritesTheWholeStyleAndItWorksAsAStyle) {
  auto r = convert("level style.");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  auto to = root.at("styles/levelstyle");
  auto saving = [&](const std::string& file) {
    return "message: Now saving as " + escape_field(root.at("styles/levelstyle/" + file)) + "\n";
  };
  EXPECT_EQ(r.err, "message: New style : levelstyle \n" + saving("polygons") + saving("lines") +
                       saving("points") + "message: Extras= 2\n" + saving("inc/landcover") +
                       saving("inc/roads/main") + saving("inc/common"));
  EXPECT_EQ(files("levelstyle"), files("example"));
  auto lines = root.read("styles/levelstyle/lines");
  EXPECT_TRUE(text::contains(lines, "highway=primary [0x03 road_class=3 road_speed=5 level 0-3 ]\n"));
  EXPECT_FALSE(text::contains(lines, "resolution "));

  // The new style reads as a style: the same levels, every rule found.
  auto source_levels = cli({"levels", root.at("styles/example")});
  auto new_levels = cli({"levels", to});
  EXPECT_EQ(new_levels.status, 0) << new_levels.err;
  EXPECT_EQ(new_levels.out, source_levels.out);
  for (const char* kind : {"polygons", "lines", "points"}) {
    auto before = cli({"analyse", root.at("styles/example"), "--kind", kind, "--all", "--inc"});
    auto after = cli({"analyse", to, "--kind", kind, "--all", "--inc"});
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.err, "");
    EXPECT_EQ(text::split(after.out, "\n").at(0), text::split(before.out, "\n").at(0)) << kind;
  }
}

TEST_F(CliConvert, AnExistingTargetIsReplacedOnlyWithYes) {
  ASSERT_EQ(convert("copy").status, 0);
  root.write("styles/copy/lines", "stale\n");
  auto r = convert("copy");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "message: New style : copy \n"
                   "message: copy exists.  Are you sure you want to replace copy\n");
  EXPECT_EQ(root.read("styles/copy/lines"), "stale\n");
  r = convert("copy", true);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(root.read("styles/copy/lines"), "stale\n");
}

TEST_F(CliConvert, RefusalsAndUsageErrors) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err_start;
  };
  const Case cases[] = {
      {{"convert", "STYLE", "EXAMPLE"}, 1,
       "message: New style : EXAMPLE \nmessage: Target and source are the same ! Cannot continue:\n"},
      {{"convert", "STYLE"}, 2, "zoomwright-cli convert: give the style directory"},
      {{"convert", "STYLE", ". ,;"}, 2, "zoomwright-cli convert: the new style's name has no"},
      {{"convert", "STYLE", "x", "--kind", "lines"}, 2, "zoomwright-cli convert: "},
  };
  for (const auto& c : cases) {
    auto args = c.args;
    for (auto& a : args)
      if (a == "STYLE") a = root.at("styles/example");
    auto r = cli(args);
    EXPECT_EQ(r.status, c.status) << args.back() << r.err;
    EXPECT_TRUE(text::starts_with(r.err, c.err_start)) << r.err;
  }
  Strings dirs;
  for (auto& e : std::filesystem::directory_iterator(to_fs_path(styles())))
    dirs.push_back(from_fs_path(e.path().filename()));
  EXPECT_EQ(dirs, Strings{"example"});
}

}  // namespace
}  // namespace zw
