// What users' folders do to the readers: files too large, directories where files
// belong, files that cannot be read, non-ASCII paths, read-only places. Each gives
// the program's message or is skipped quietly, and nothing crashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analysis/analysis.h"
#include "app/files.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/shell.h"
#include "app/text.h"
#include "levels/categories.h"
#include "support/failing_fs.h"
#include "support/test_app.h"

namespace zw {
namespace {

namespace fs = std::filesystem;
using test::TestApp;

const char* const options = "levels = 0:24, 1:22, 2:20\n";
const char* const lines =
    "highway=primary [0x02 resolution 20]\n"
    "include 'inc/common';\n";

bool any_message_contains(const HeadlessHost& host, const std::string& part) {
  for (const auto& m : host.messages)
    if (text::contains(m, part)) return true;
  return false;
}

void run_lines_with_inc(TestApp& app) {
  app.select("s");
  app.click_kind(1);
  app.host.messages.clear();
  app.s.f1.inc.value = 1;
  app.s.f1.Check1[0].value = 1;
  app.check();
}

// A file of the given size without writing its bytes.
void sparse_file(const std::string& path, std::int64_t size) {
  { std::ofstream(to_fs_path(path), std::ios::binary); }
  fs::resize_file(to_fs_path(path), static_cast<std::uintmax_t>(size));
}

TEST(HostileFiles, RuleAndIncludedFilesThatCannotBeRead) {
  enum class Trouble { too_large, directory, unreadable };
  struct Case {
    const char* what;
    const char* file;  // the style's file that is spoiled
    Trouble trouble;
    int rows;               // rows the analysis still finds
    const char* message;    // a message that names the trouble, or "" for none
  };
  const Case cases[] = {
      {"rule file too large", "lines", Trouble::too_large, 0, "too large to read"},
      {"rule file is a directory", "lines", Trouble::directory, 0, ""},
      {"rule file unreadable", "lines", Trouble::unreadable, 0, ""},
      {"included file too large", "inc/common", Trouble::too_large, 1, "too large to read"},
      {"included file is a directory", "inc/common", Trouble::directory, 1, ""},
      {"included file unreadable", "inc/common", Trouble::unreadable, 1, "Permission denied"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestApp app;
    test::FailingFileSystem failing;
    app.host.fs_override = &failing;
    app.style("s", {{"options", options},
                    {"lines", lines},
                    {"inc/common", "highway=track [0x0a resolution 22]\n"}});
    auto spoiled = app.dir.at(std::string("styles/s/") + c.file);
    switch (c.trouble) {
      case Trouble::too_large: sparse_file(spoiled, max_read_bytes + 1); break;
      case Trouble::directory:
        fs::remove(to_fs_path(spoiled));
        fs::create_directories(to_fs_path(spoiled));
        break;
      case Trouble::unreadable: failing.unreadable.insert(spoiled); break;
    }
    run_lines_with_inc(app);
    EXPECT_EQ(app.s.result_count, c.rows);
    if (*c.message) {
      EXPECT_TRUE(any_message_contains(app.host, c.message)) << testing::PrintToString(app.host.messages);
    }
  }
}

TEST(HostileFiles, OptionsFileThatCannotBeReadLeavesAnEmptyLevelTable) {
  for (bool directory : {true, false}) {
    SCOPED_TRACE(directory ? "directory" : "unreadable");
    TestApp app;
    test::FailingFileSystem failing;
    app.host.fs_override = &failing;
    auto dir = app.style("s", {{"options", options}, {"lines", lines}});
    auto options_path = app.dir.at("styles/s/options");
    if (directory) {
      fs::remove(to_fs_path(options_path));
      fs::create_directories(to_fs_path(options_path));
    } else {
      failing.unreadable.insert(options_path);
    }
    app.select("s");
    EXPECT_EQ(app.s.levels.level_last, -1);  // no level declared
    app.click_kind(1);
    app.s.f1.Check1[0].value = 1;
    app.check();
    EXPECT_EQ(app.s.result_count, 1);
  }
}

TEST(HostileFiles, NonAsciiStyleRootAndNames) {
  TestApp app;
  // UTF-8 names, and Windows-1252 bytes inside the rule file.
  app.style("Karten Straße ü/stil-é", {{"options", options},
                                        {"lines", "name=Stra\xdf" "e [0x02 resolution 20]\n"
                                                  "include 'inc/común';\n"},
                                        {"inc/común", "highway=track [0x0a resolution 22]\n"}});
  select_style_dir(app.s, app.host, app.dir.at("styles/Karten Straße ü/stil-é"));
  EXPECT_EQ(app.s.f1.Combo2.text, "stil-é");
  EXPECT_EQ(app.s.levels.level_last, 2);
  app.click_kind(1);
  app.host.messages.clear();
  app.s.f1.inc.value = 1;
  app.s.f1.Check1[0].value = 1;
  app.check();
  EXPECT_EQ(app.s.result_count, 2);
  EXPECT_EQ(app.s.results.rule_text[1][0], "name=stra\xdf" "e [0x02 resolution 20]");  // ASCII lower-cased only
  EXPECT_TRUE(app.host.messages.empty()) << testing::PrintToString(app.host.messages);
}

TEST(HostileFiles, ReadOnlyStyleRootIsOnlyRead) {
  TestApp app;
  test::FailingFileSystem failing;
  app.host.fs_override = &failing;
  app.style("s", {{"options", options},
                  {"lines", lines},
                  {"inc/common", "highway=track [0x0a resolution 22]\n"}});
  failing.read_only_root = app.dir.at("styles");
  run_lines_with_inc(app);
  EXPECT_EQ(app.s.result_count, 2);
  EXPECT_EQ(failing.refused_writes, 0);
  EXPECT_TRUE(app.host.messages.empty()) << testing::PrintToString(app.host.messages);
}

TEST(HostileFiles, ReadOnlySystemDirectoryReportsEachFileOnce) {
  TestApp app;
  test::FailingFileSystem failing;
  app.host.fs_override = &failing;
  fs::remove_all(to_fs_path(app.s.system_dir));
  failing.read_only_root = app.s.app_dir;
  app.host.messages.clear();
  start_batch(app.s, app.host);
  // Each default category file that cannot be written is named once, with the
  // system's reason; start-up then goes on without categories.
  int named = 0;
  for (const auto& m : app.host.messages)
    if (text::contains(m, "Read-only file system")) ++named;
  EXPECT_GE(named, 1);
  EXPECT_LE(named, 3);
  app.click_kind(1);
}

TEST(HostileFiles, SettingsFilesThatCannotBeReadKeepTheStartUpValues) {
  for (bool directory : {true, false}) {
    SCOPED_TRACE(directory ? "directory" : "unreadable");
    TestApp app;
    test::FailingFileSystem failing;
    app.host.fs_override = &failing;
    auto levels = app.dir.at("app/levels.dat");
    auto fonts = app.dir.at("app/fonts.dat");
    if (directory) {
      fs::create_directories(to_fs_path(levels));
      fs::create_directories(to_fs_path(fonts));
    } else {
      app.dir.write("app/levels.dat", "cvrs\r\nmine\r\n");
      app.dir.write("app/fonts.dat", " 1 \r\n 1 \r\n\"Arial\"\r\n");
      failing.unreadable = {levels, fonts};
    }
    app.s.style_name = "kept";
    loaddata(app.s, app.host);
    ldfnts(app.s, app.host, fonts);
    EXPECT_EQ(app.s.style_name, "kept");
    EXPECT_TRUE(app.s.f1.Combo1.items.empty());
  }
}

TEST(HostileFiles, CategoryFileThatCannotBeRead) {
  TestApp app;
  test::FailingFileSystem failing;
  app.host.fs_override = &failing;
  failing.unreadable.insert(category_file(app.s, 1));
  app.host.messages.clear();
  app.click_kind(1);
  EXPECT_TRUE(any_message_contains(app.host, "Not a valid res file."));
}

}  // namespace
}  // namespace zw
