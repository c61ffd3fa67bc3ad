#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "app/about_box.h"
#include "base/std_file_system.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "base/text_files.h"
#include "base/open_document.h"
#include "base/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

// Online Help, the About box's link and the double-click on the levels open a
// file; when no program can be started for it, the user learns where it is.
TEST(Shell, LinksOpenTheirFileOrSayWhereItIs) {
  struct Case {
    const char* what;
    void (*click)(AppState&, Host&);
    std::string (*target)(const AppState&);
  } cases[] = {
      {"the help page", mhl_Click, help_page},
      {"the home page", about_form::Label2_Click, help_page},
      {"the style's options file", Label4_DblClick, options_file_path},
  };
  for (const auto& c : cases)
    for (bool works : {true, false}) {
      AppState s;
      s.app_dir = "prog", s.style_root = "maps", s.style_name = "mine";
      HeadlessHost host;
      host.shell_works = works;
      c.click(s, host);
      EXPECT_EQ(host.opened, std::vector<std::string>{c.target(s)}) << c.what;
      auto told = works ? std::vector<std::string>{}
                        : std::vector<std::string>{cannot_open_message(c.what, c.target(s))};
      EXPECT_EQ(host.messages, told) << c.what;
    }
  EXPECT_EQ(cannot_open_message("the help page", "prog/help/index.html"),
            "Cannot open the help page: no program could be started for it.\r\n\r\n"
            "The file is prog/help/index.html");
}

#ifndef _WIN32
// Only a regular file is read: a named pipe would block the program, a device
// or a file of the system's tables reads as nothing or without end.
TEST(Shell, WhatIsNotARegularFileIsRefusedUnopened) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  dir.write("plain", "x\n");
  fs::create_symlink(to_fs_path(dir.at("plain")), to_fs_path(dir.at("link")));
  fs::create_symlink("/proc/self/status", to_fs_path(dir.at("status")));
  fs::create_symlink("/dev/zero", to_fs_path(dir.at("zero")));
  fs::create_symlink(to_fs_path(dir.at("gone")), to_fs_path(dir.at("dangling")));
  ASSERT_EQ(mkfifo(dir.at("fifo").c_str(), 0600), 0);
  const struct {
    const char* name;
    const char* content;
    bool named;
  } cases[] = {
      {"plain", "x\n", false},  {"link", "x\n", false},  {"status", nullptr, true},
      {"zero", nullptr, true},  {"fifo", nullptr, true}, {"dangling", nullptr, false},
      {"gone", nullptr, false},
  };
  for (const auto& c : cases) {
    for (bool report : {false, true}) {
      HeadlessHost host;
      auto data = read_whole(host, dir.at(c.name), report);
      EXPECT_EQ(data.value_or("(none)"), c.content ? c.content : "(none)") << c.name;
      Strings messages;
      if (report && c.named) messages.push_back(not_a_file_message(dir.at(c.name)));
      EXPECT_EQ(host.messages, messages) << c.name;
      EXPECT_EQ(loadtext(host, dir.at(c.name)), c.content ? c.content : "") << c.name;
      EXPECT_FALSE(host.busy());
    }
  }
}
#endif

}  // namespace
}  // namespace zw
