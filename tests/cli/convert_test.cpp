#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "analysis/style_diff.h"
#include "base/std_file_system.h"
#include "base/text.h"
#include "platform/headless/headless_host.h"
#include "support/cli_runner.h"
#include "support/small_disk.h"
#include "support/test_app.h"

namespace zw {
namespace {

namespace fs = std::filesystem;

// The example style, copied into a temporary style root so that the new style
// is written beside it there.
struct CliConvert : ::testing::Test {
  void SetUp() override { root.copy(test::example_style(), "styles/example"); }
  test::CliResult cli(std::vector<std::string> args) {
    for (auto& a : args)
      if (a == "EXAMPLE") a = root.at("styles/example");
    args.insert(args.end(), {"--system-dir", root.at("system")});
    return test::run_cli(args);
  }
  test::CliResult cli_in(const std::string& workdir, const std::vector<std::string>& args) {
    std::vector<std::string> command{ZW_CLI_PATH};
    command.insert(command.end(), args.begin(), args.end());
    command.insert(command.end(), {"--system-dir", root.at("system")});
    return test::run_program(command, workdir);
  }
  std::set<std::string> names(const std::string& style) {
    std::set<std::string> out;
    for (const auto& [name, content] : root.tree("styles/" + style)) out.insert(name);
    return out;
  }
  test::TempDir root;
};

TEST_F(CliConvert, WritesTheWholeStyleAndSaysWhatItWrote) {
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
  EXPECT_TRUE(
      text::contains(lines, "highway=primary [0x03 road_class=3 road_speed=5 level 0-3 ]\n"));
  EXPECT_FALSE(text::contains(lines, "resolution "));

  // The last line's figures are checked against the diff on mkgmap's default style.
  EXPECT_TRUE(text::starts_with(text::after(r.err, written), "message: Levels kept for ")) << r.err;
}

TEST_F(CliConvert, QuestionsRefusalsAndUsage) {
  ASSERT_EQ(cli({"convert", "EXAMPLE", "copy"}).status, 0);
  const std::string asked =
      "message: New style : copy \nmessage: copy exists.  Are you sure you want to replace copy\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err_start;
  } cases[] = {
      {{"convert", "EXAMPLE", "copy"}, 1, asked},
      {{"convert", "EXAMPLE", "copy", "--yes"}, 0, asked + "message: Now saving as "},
      {{"convert", "EXAMPLE", "Example"},
       1,
       "message: New style : Example \nmessage: Target and source are the same ! Cannot "
       "continue:\n"},
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

// However the source is named, the new style goes beside it; a name that
// leads to the source itself is refused. The source is never written.
TEST_F(CliConvert, TheNewStyleLiesBesideTheSourceHoweverItIsNamed) {
  fs::create_directory_symlink("example", to_fs_path(root.at("styles/alias")));
  const struct {
    const char *workdir, *style, *name;
    int status;
    const char* made;
  } cases[] = {
      {"styles/example", ".", "dot", 0, "styles/dot"},
      {"styles/example/inc", "..", "dotdot", 0, "styles/dotdot"},
      {"", "styles/example/inc/..", "climbed", 0, "styles/climbed"},
      {"styles", "alias/.", "viaalias", 0, "styles/viaalias"},
      {"styles", "example", "alias", 1, nullptr},
  };
  auto source = root.tree("styles/example");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto r = cli_in(root.at(c.workdir), {"convert", c.style, c.name, "--yes"});
    EXPECT_EQ(r.status, c.status) << r.err;
    if (c.made) {
      EXPECT_EQ(names(text::after(c.made, "styles/")), names("example"));
    } else {
      EXPECT_TRUE(
          text::contains(r.err, "message: Target and source are the same ! Cannot continue:"))
          << r.err;
    }
    EXPECT_EQ(root.tree("styles/example"), source);
  }
}

#ifdef __linux__
// A conversion onto a full or read-only disk names every file it could not
// write with the reason, leaves no empty file behind and exits 1; once the
// disk takes files again, the next conversion writes the whole style.
TEST_F(CliConvert, ADiskThatTakesNothingFailsTheConversion) {
  const struct {
    const char* trouble;
    const char* reason;
  } cases[] = {
      {"full", "No space left on device"},
      {"read-only", "Read-only file system"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trouble);
    test::SmallDisk disk(root.at(std::string("disk-") + c.trouble));
    ASSERT_TRUE(disk.mounted()) << "mounting a tmpfs needs root";
    auto dir = root.at(std::string("disk-") + c.trouble);
    root.copy(test::example_style(), std::string("disk-") + c.trouble + "/example");
    bool full = std::string(c.trouble) == "full";
    if (full) {
      disk.fill();
    } else {
      fs::create_directory(to_fs_path(dir + "/new"));
      ASSERT_TRUE(disk.read_only(true));
    }

    auto r = cli({"convert", dir + "/example", "new", "--yes"});
    EXPECT_EQ(r.status, 1) << r.err;
    for (const char* file : {"options", "version", "lines", "polygons", "points"})
      EXPECT_TRUE(text::contains(r.err, escape_field(dir + "/new/" + file) + ": " + c.reason))
          << file << r.err;
    EXPECT_TRUE(text::contains(
        r.err, "message: The new style " + escape_field(dir + "/new") + " is incomplete: "))
        << r.err;
    EXPECT_FALSE(text::contains(r.err, "Levels kept"));
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(to_fs_path(dir + "/new"), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
      EXPECT_TRUE(it->is_directory()) << "left behind: " << it->path();

    if (full)
      disk.empty();
    else
      ASSERT_TRUE(disk.read_only(false));
    r = cli({"convert", dir + "/example", "new", "--yes"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(cli({"levels", dir + "/new"}).out, cli({"levels", dir + "/example"}).out);
    EXPECT_EQ(names("../disk-" + std::string(c.trouble) + "/new"), names("example"));
  }
}
#endif

}  // namespace
}  // namespace zw
