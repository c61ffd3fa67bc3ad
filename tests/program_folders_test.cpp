#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/check_handlers.h"
#include "app/menus.h"
#include "base/paths.h"
#include "app/program_folders.h"
#include "levels/categories.h"
#include "support/failing_fs.h"
#include "support/test_app.h"

namespace zw {
namespace {

// Where a program finds its folders, from the folder it runs in and the
// environment. Paths are relative to a temporary folder; "" for none.
struct FolderCase {
  const char* name;
  std::vector<std::string> made;  // folders there before (a trailing "=" makes a file)
  const char* program;
  UserFolders user;
  const char* read_only;  // a folder the program may not write below
  const char* settings;
  const char* share;
  bool problem;
};

TEST(ProgramFolders, SettingsBesideACopyInTheUsersFolderForAnInstalledOrReadOnlyOne) {
#ifndef _WIN32
  const UserFolders xdg{"@/cfg", "@/home", ""}, home_only{"", "@/home", ""},
      relative{"cfg", "@/home", ""};
  const char *user_dir = "cfg/zoomwright", *user_parent = "cfg";
#else
  const UserFolders xdg{"", "", "@/roaming"}, home_only = xdg;
  const char *user_dir = "roaming/Zoomwright", *user_parent = "roaming";
#endif
  const char* share = "usr/share/zoomwright";
  const std::vector<std::string> usr{"usr/bin", share}, locked{"locked"}, opt{"opt/bin"},
      with_settings{"usr/bin", share, user_dir + std::string("/system")},
      settings_file{"locked", user_dir + std::string("=")},
      with_parent{"usr/bin", share, user_parent};
  const std::vector<FolderCase> cases = {
      {"copy in a folder it may write", {"build"}, "build", xdg, "", "build", "build", false},
      {"installed", usr, "usr/bin", xdg, "", user_dir, share, false},
      {"installed, trailing separator", usr, "usr/bin/", xdg, "", user_dir, share, false},
      {"bin without share/zoomwright", opt, "opt/bin", xdg, "", "opt/bin", "opt/bin", false},
      {"read-only copy", locked, "locked", xdg, "locked", user_dir, "locked", false},
      {"settings folder in place, its files kept", with_settings, "usr/bin", xdg, "", user_dir,
       share, false},
      {"settings folder a file", settings_file, "locked", xdg, "locked", user_dir, "locked", true},
      {"settings folder not writable", with_parent, "usr/bin", xdg, user_parent, user_dir, share,
       true},
#ifndef _WIN32
      {"no XDG_CONFIG_HOME: ~/.config, made", locked, "locked", home_only, "locked",
       "home/.config/zoomwright", "locked", false},
      {"relative XDG_CONFIG_HOME ignored", locked, "locked", relative, "locked",
       "home/.config/zoomwright", "locked", false},
      {"neither XDG_CONFIG_HOME nor HOME", locked, "locked", {}, "locked", "", "locked", true},
#else
      {"no APPDATA", locked, "locked", {}, "locked", "", "locked", true},
#endif
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    auto at = [&](const std::string& rel) { return rel.empty() ? rel : dir.at(rel); };
    auto expand = [&](std::string v) { return v.rfind("@/", 0) == 0 ? dir.at(v.substr(2)) : v; };
    for (const auto& m : c.made) {
      if (m.back() == '=')
        dir.write(m.substr(0, m.size() - 1), "x");
      else
        dir.write(m + "/.keep", "");
    }
    auto before = dir.tree("");
    test::FailingFileSystem fs;
    if (*c.read_only) fs.read_only_root = dir.at(c.read_only);
    AppState s;
    UserFolders user{expand(c.user.config_home), expand(c.user.home), expand(c.user.app_data)};
    find_program_folders(s, fs, dir.at(c.program), user);
    auto settings = at(c.settings);
    EXPECT_EQ(s.app_dir, settings);
    EXPECT_EQ(share_folder(s), at(c.share));
    EXPECT_EQ(!settings_kept(s), c.problem) << s.settings_problem;
    if (c.problem && !settings.empty()) {
      EXPECT_NE(s.settings_problem.find(settings), std::string::npos);
    }
    // Only the settings folder is made; nothing is written.
    EXPECT_EQ(dir.tree(""), before);
    if (!c.problem) {
      EXPECT_TRUE(fs.dir_exists(settings));
    }
  }
}

// A settings folder that cannot be made: the program says so, runs with its
// default categories and fonts, and writes nothing anywhere.
TEST(ProgramFolders, WithoutASettingsFolderTheWindowRunsOnDefaultsAndWritesNothing) {
  test::TempDir dir;
  dir.write("usr/bin/.keep", "");
  dir.write("usr/share/zoomwright/help/index.html", "help");
  const UserFolders user{dir.at("cfg"), "", dir.at("cfg")};
  const auto settings = user_settings_dir(user);
  dir.write("cfg/" + paths::part(settings, 1), "a file in its place");
  auto before = dir.tree("");
  AppState s;
  HeadlessHost host;
  host.fonts = {"Arial", "Liberation Serif"};
  test::RecordingSurface surfaces[6];
  int i = 0;
  for (auto* p : {&s.f1.p1, &s.f1.p2, &s.f1.p3, &s.f1.p4, &s.f1.com1, &s.f1.command2})
    p->attach(&surfaces[i++]);
  find_program_folders(s, host.fs(), dir.at("usr/bin"), user);
  Form_Load(s, host);
  Form_Activate(s, host);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find(settings), std::string::npos) << host.messages[0];
  EXPECT_EQ(s.f1.Check1[0].caption, "All");
  EXPECT_EQ(s.f1.Check1[1].caption, "Landuse");
  s.f1.Check3[1].value = 1;
  Check3_MouseUp(s, host, 1);
  EXPECT_EQ(s.f1.Check1[1].caption, "Highway");
  EXPECT_EQ(s.f1.Combo1.items, (Strings{"Arial", "Liberation Serif"}));
  EXPECT_EQ(help_page(s), dir.at("usr/share/zoomwright/help/index.html"));
  Form_Activate(s, host);
  Form_KeyPress(s, host, 18);
  Form_QueryUnload(s, host);
  EXPECT_EQ(host.messages.size(), 2u);  // Ctrl+R says again why it cannot write
  EXPECT_EQ(dir.tree(""), before);
}

}  // namespace
}  // namespace zw
