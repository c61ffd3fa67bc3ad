// What users' folders do to the readers: files too large, directories where files
// belong, files that cannot be read, non-ASCII paths, read-only places. Each gives
// the program's message or is skipped quietly, and nothing crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "analysis/analysis.h"
#include "base/std_file_system.h"
#include "chart/image_export.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "base/text_files.h"
#include "base/text.h"
#include "levels/categories.h"
#include "support/failing_fs.h"
#include "support/test_app.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace zw {
namespace {

namespace fs = std::filesystem;
using test::TestApp;

const char* const options = "levels = 0:24, 1:22, 2:20\n";
const char* const lines = "highway=primary [0x02 resolution 20]\ninclude 'inc/common';\n";
const char* const common = "highway=track [0x0a resolution 22]\n";

enum class Trouble { too_large, directory, unreadable, huge_field };

// An app whose file system can refuse reads and writes.
struct Hostile {
  Hostile() { app.host.fs_override = &failing; }
  void spoil(const std::string& path, Trouble trouble) {
    if (trouble == Trouble::unreadable) {
      failing.unreadable.insert(path);
    } else if (trouble == Trouble::huge_field) {  // a style name of 5 MB, then the rest
      fs::remove(to_fs_path(path));
      std::ofstream(to_fs_path(path), std::ios::binary)
          << "cvrs\r\n"
          << std::string(5 << 20, 'n') << "\r\nroot\r\nArial\r\n 10 \r\n";
    } else if (trouble == Trouble::directory) {
      fs::remove(to_fs_path(path));
      fs::create_directories(to_fs_path(path));
    } else {  // a file of that size without writing its bytes
      { std::ofstream(to_fs_path(path), std::ios::binary); }
      fs::resize_file(to_fs_path(path), static_cast<std::uintmax_t>(max_read_bytes + 1));
    }
  }
  void standard_style() {
    app.style("s", {{"options", options}, {"lines", lines}, {"inc/common", common}});
  }
  void run_lines_with_inc() {
    app.click_kind(1);
    app.s.f1.inc.value = 1;
    app.s.f1.Check1[0].value = 1;
    app.check();
  }
  TestApp app;
  test::FailingFileSystem failing;
};

TEST(HostileFiles, RuleIncludedAndOptionsFilesThatCannotBeRead) {
  const struct {
    const char* file;
    Trouble trouble;
    int rows;
    const char* message;
  } cases[] = {
      {"lines", Trouble::too_large, 0, "too large to read"},
      {"lines", Trouble::directory, 0, ""},
      {"lines", Trouble::unreadable, 0, "Permission denied"},
      {"inc/common", Trouble::too_large, 1, "too large to read"},
      {"inc/common", Trouble::directory, 1, ""},
      {"inc/common", Trouble::unreadable, 1, "Permission denied"},
      // The options file: an empty level table, the rules are still read.
      {"options", Trouble::directory, 2, ""},
      {"options", Trouble::unreadable, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " " + std::to_string(static_cast<int>(c.trouble)));
    Hostile h;
    h.standard_style();
    h.spoil(h.app.dir.at(std::string("styles/s/") + c.file), c.trouble);
    h.app.select("s");
    if (std::string(c.file) == "options") {
      EXPECT_EQ(h.app.s.levels.level_last, -1);
      // Named with the reason when it is there but cannot be read.
      auto named = "Cannot open " + h.app.dir.at("styles/s/options") + ": Permission denied";
      EXPECT_EQ(h.app.said(named), c.trouble == Trouble::unreadable ? 1 : 0);
    }
    h.app.host.messages.clear();
    h.run_lines_with_inc();
    EXPECT_EQ(h.app.s.result_count, c.rows);
    if (*c.message) {
      EXPECT_GT(h.app.said(c.message), 0) << testing::PrintToString(h.app.host.messages);
    }
    // A file that is there but not read fails the batch front end.
    EXPECT_EQ(h.app.host.unread_files > 0, c.trouble != Trouble::directory);
  }
}

TEST(HostileFiles, NonAsciiStyleRootAndNames) {
  Hostile h;
  // UTF-8 names, and Windows-1252 bytes inside the rule file.
  h.app.style("Karten Straße ü/stil-é", {{"options", options},
                                         {"lines",
                                          "name=Stra\xdf"
                                          "e [0x02 resolution 20]\ninclude 'inc/común';\n"},
                                         {"inc/común", common}});
  select_style_dir(h.app.s, h.app.host, h.app.dir.at("styles/Karten Straße ü/stil-é"));
  EXPECT_EQ(h.app.s.f1.Combo2.text, "stil-é");
  EXPECT_EQ(h.app.s.levels.level_last, 2);
  h.run_lines_with_inc();
  EXPECT_EQ(h.app.s.result_count, 2);
  EXPECT_EQ(h.app.s.results.rule_text[1][0],
            "name=stra\xdf"
            "e [0x02 resolution 20]");  // ASCII lower-cased only
  EXPECT_TRUE(h.app.host.messages.empty()) << testing::PrintToString(h.app.host.messages);
}

TEST(HostileFiles, ReadOnlyStyleRootIsOnlyRead) {
  Hostile h;
  h.standard_style();
  h.failing.read_only_root = h.app.dir.at("styles");
  h.app.select("s");
  h.run_lines_with_inc();
  EXPECT_EQ(h.app.s.result_count, 2);
  EXPECT_EQ(h.failing.refused_writes, 0);
  EXPECT_TRUE(h.app.host.messages.empty()) << testing::PrintToString(h.app.host.messages);
}

TEST(HostileFiles, ReadOnlySystemDirectoryReportsEachFileOnce) {
  Hostile h;
  fs::remove_all(to_fs_path(h.app.s.system_dir));
  h.failing.read_only_root = h.app.s.app_dir;
  h.app.host.messages.clear();
  start_batch(h.app.s, h.app.host);
  // Each default category file that cannot be written is named once, with the
  // system's reason; start-up then goes on without categories.
  int named = h.app.said("Read-only file system");
  EXPECT_TRUE(named >= 1 && named <= 3) << named;
  h.app.click_kind(1);
}

TEST(HostileFiles, SettingsAndCategoryFilesThatCannotBeRead) {
  for (auto trouble :
       {Trouble::directory, Trouble::unreadable, Trouble::too_large, Trouble::huge_field}) {
    Hostile h;
    auto levels = h.app.dir.at("app/levels.dat"), fonts = h.app.dir.at("app/fonts.dat");
    h.app.dir.write("app/levels.dat", "cvrs\r\nmine\r\n");
    h.app.dir.write("app/fonts.dat", " 1 \r\n 1 \r\n\"Arial\"\r\n");
    h.spoil(levels, trouble);
    h.spoil(fonts, trouble);
    h.app.s.style_name = "kept";
    h.app.s.style_root = "kept too";
    h.app.host.messages.clear();
    loaddata(h.app.s, h.app.host);
    ldfnts(h.app.s, h.app.host, fonts);
    EXPECT_EQ(h.app.s.style_name, "kept");
    EXPECT_EQ(h.app.s.style_root, "kept too");
    EXPECT_TRUE(h.app.s.f1.Combo1.items.empty());
    // No message of their own; the style list of the restored root may speak.
    for (const auto& m : h.app.host.messages)
      EXPECT_TRUE(text::starts_with(m, "Cannot find style's")) << m.substr(0, 100);
  }
  Hostile h;
  h.failing.unreadable.insert(category_file(h.app.s, 1));
  h.app.host.messages.clear();
  h.app.click_kind(1);
  EXPECT_EQ(h.app.said("Not a valid res file."), 1);
}

#ifndef _WIN32
// Every file the program writes, with a named pipe or a dangling link where the
// file belongs: nothing blocks, the pipe stays, and the link is replaced by the
// file rather than a file being made where it points, outside the folder.
TEST(HostileFiles, WritersRefusePipesAndReplaceDanglingLinks) {
  const struct {
    const char* file;
    std::function<void(AppState&, Host&, const std::string&)> write;
    bool message;
  } writers[] = {
      {"app/system/lines.res",
       [](AppState& s, Host& host, const std::string&) { savefiles(s, host, false); }, true},
      {"app/levels.dat", [](AppState& s, Host& host, const std::string&) { savedata(s, host); },
       false},
      {"app/fonts.dat",
       [](AppState& s, Host& host, const std::string& path) { savefnts(s, host, path); }, false},
      {"chart.bmp",
       [](AppState& s, Host& host, const std::string& path) { save_image(s, host, path); }, true},
  };
  for (const auto& w : writers) {
    for (bool pipe : {true, false}) {
      SCOPED_TRACE(std::string(w.file) + (pipe ? " pipe" : " dangling link"));
      Hostile h;
      auto path = h.app.dir.at(w.file);
      fs::remove(to_fs_path(path));
      if (pipe)
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      else
        fs::create_symlink(to_fs_path(h.app.dir.at("outside")), to_fs_path(path));
      h.app.host.messages.clear();
      h.app.host.answers.push_back(Answer::yes);  // "Replace file?"
      w.write(h.app.s, h.app.host, path);
      if (pipe) {
        EXPECT_TRUE(fs::is_fifo(to_fs_path(path)));
        EXPECT_EQ(h.app.said(path + ": it is a named pipe"), w.message ? 1 : 0)
            << testing::PrintToString(h.app.host.messages);
      } else {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(to_fs_path(path))));
        EXPECT_FALSE(fs::exists(to_fs_path(h.app.dir.at("outside"))));
      }
    }
  }
}
#endif

// Seconds a style may take to be read and charted: two, more under the sanitizers.
#if defined(__SANITIZE_ADDRESS__)
constexpr double allowed_seconds = 10;
#else
constexpr double allowed_seconds = 2;
#endif

#ifdef _WIN32
// Wine makes no links; the other names still reach the one file.
constexpr const char* link_include = "";
#else
constexpr const char* link_include = "include 'link';\n";
#endif

// Files built to cost time or memory: each is read within the bound, or
// refused with a message, and the style is left as it was.
TEST(HostileFiles, BigAndRepeatedFilesAreReadWithinBounds) {
  const std::string levels_4m = [] {
    std::string t = "levels = ";
    t.reserve(4'000'000 * 6);
    for (int i = 0; i < 4'000'000; ++i) t += "0:24, ";
    return t + "\n";
  }();
  const struct {
    const char* what;
    std::map<std::string, std::string> files;
    const char* message;  // part of the one message expected, "" for none
    int includes;         // included files recorded for lines
  } cases[] = {
      {"20 MB of blank lines in options",
       {{"options", std::string(20 << 20, '\n') + options}},
       "",
       1},
      {"a levels line of 4 million entries",
       {{"options", levels_4m}},
       "have more than 255 entries",
       1},
      {"an include name of 8 MB",
       {{"lines", "include '" + std::string(8 << 20, 'n') + "';\n" + lines}},
       "longer than any path",
       1},
      {"one file by many names",
       {{"lines",
         "include 'inc/common';\ninclude './inc/common';\ninclude 'inc/../inc/common';\n"
         "include 'inc//common';\n" +
             std::string(link_include)}},
       "",
       1},
      {"one options include by two names",
       {{"options", std::string(options) + "include 'inc/lv';\ninclude './inc/lv';\n"},
        {"inc/lv", "overview-levels = 3:30\n"}},
       "is outside 1-24",
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Hostile h;
    std::map<std::string, std::string> files{
        {"options", options}, {"lines", lines}, {"inc/common", common}};
    for (const auto& [name, content] : c.files) files[name] = content;
    h.app.style("s", files);
#ifndef _WIN32
    fs::create_symlink("inc/common", to_fs_path(h.app.dir.at("styles/s/link")));
#endif
    auto before = h.app.dir.tree("styles/s");
    auto start = std::chrono::steady_clock::now();
    h.app.select("s");
    h.run_lines_with_inc();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), allowed_seconds);
    std::string all = testing::PrintToString(h.app.host.messages);
    if (*c.message) {
      EXPECT_EQ(h.app.said(c.message), 1) << all;
    }
    EXPECT_EQ(h.app.s.includes.extra_count + 1, c.includes) << all;
    EXPECT_EQ(h.app.dir.tree("styles/s"), before);
  }
}

}  // namespace
}  // namespace zw
