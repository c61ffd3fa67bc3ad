#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "app/about_box.h"
#include "app/files.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/paths.h"
#include "app/shell.h"
#include "app/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

using Strings = std::vector<std::string>;

TEST(Paths, PartCutsAtTheLastSeparatorOfEitherKindAndCollapseDropsDoubles) {
  const struct {
    std::string path;
    int mode;
    std::string part;
  } cases[] = {{"C:\\styles\\mine\\", 2, "mine"}, {"mine", 2, "mine"},     {"C:\\styles\\mine\\", 1, ""},
               {"C:\\a\\b", 0, "C:\\a\\"},         {"a/b\\c", 1, "c"},      {"/home/u/styles/mine", 3, "/home/u"},
               {"\\x", 2, ""},                      {"plain", 0, "plain"}};
  for (const auto& p : cases) EXPECT_EQ(paths::part(p.path, p.mode), p.part) << p.path << " " << p.mode;
  EXPECT_EQ(paths::collapse("a//b\\\\c/"), paths::to_host("a/b/c/"));
}

TEST(Paths, NormalResolvesDotsAsText) {
  const struct { const char *path, *normal; } cases[] = {
      {"/s/st/inc/../lines", "/s/st/lines"}, {"/s/st/./inc//a", "/s/st/inc/a"}, {"/s/st/../../../x", "/x"},
      {"st/../../x", "../x"},                {"./a/b/..", "a"},              {"a/..", "."},
      {"st\\inc\\..\\lines", "st/lines"},
  };
  for (const auto& c : cases) EXPECT_EQ(paths::normal(c.path), paths::to_host(c.normal)) << c.path;
}

TEST(Paths, TheSystemsOwnSeparatorComesOutEitherGoesIn) {
  struct J { std::string a, b, joined; };
#ifdef _WIN32
  const std::vector<J> cases = {{"C:\\maps", "styles/mine", "C:\\maps\\styles\\mine"},
                                {"C:/maps/", "\\mine\\", "C:\\maps\\mine\\"},
                                {"\\\\server\\share", "mine", "\\\\server\\share\\mine"}};
#else
  const std::vector<J> cases = {{"/maps", "styles\\mine", "/maps/styles/mine"},
                                {"/maps/", "/mine/", "/maps/mine/"},
                                {"maps\\", "mine", "maps/mine"}};
#endif
  for (const auto& c : cases) EXPECT_EQ(paths::join(c.a, c.b), c.joined) << c.a << " + " << c.b;
}

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

TEST(Shell, LoadtextKeepsEveryByteAndSavetextAppendsCrLfAndReportsAFailure) {
  test::TempDir dir;
  HeadlessHost host;
  dir.write("crlf", "a\r\nb\t\xe9\r\n");
  EXPECT_EQ(loadtext(host, dir.at("crlf")), "a\r\nb\t\xe9\r\n");
  EXPECT_EQ(loadtext(host, dir.at("missing")), "");
  EXPECT_EQ(loadtext(host, dir.path()), "");  // a directory
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(host.busy());
  EXPECT_TRUE(savetext(host, dir.at("abc"), "abc"));
  EXPECT_EQ(dir.read("abc"), "abc\r\n");
  auto bad = dir.at("no/such/dir/file");
  EXPECT_FALSE(savetext(host, bad, "x"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(text::starts_with(host.messages[0], bad + " "));
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
  const struct { const char* name; const char* content; bool named; } cases[] = {
      {"plain", "x\n", false}, {"link", "x\n", false},      {"status", nullptr, true}, {"zero", nullptr, true},
      {"fifo", nullptr, true},  {"dangling", nullptr, false}, {"gone", nullptr, false},
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
    }
  }
}
#endif

TEST(Shell, CaptionAndCanvasMessage) {
  test::TestApp app;
  app.s.style_name = "mine";
  cap(app.s);
  EXPECT_EQ(app.s.f1.caption, "Zoomwright 2.51 mine");
  msg(app.s, app.host, "No Resolution Data");
  EXPECT_EQ(app.p1.texts(), std::vector<std::string>{"No Resolution Data"});
}

TEST(Files, PatternsIgnoreCaseAndNonAsciiPathsWork) {
  EXPECT_TRUE(matches_pattern("lines.RES", "*.res"));
  EXPECT_TRUE(matches_pattern("a.txt", "?.txt"));
  EXPECT_FALSE(matches_pattern("lines.res.bak", "*.res"));
  test::TempDir dir;
  StdFileSystem fs;
  const std::string name = "Stra\xc3\x9f" "e";
  dir.write(name + "/options", "levels=0:24\n");
  std::string error;
  EXPECT_EQ(fs.read(dir.at(name + "/options"), error).value_or(error), "levels=0:24\n");
  auto dirs = fs.list_dirs(dir.path());
  ASSERT_EQ(dirs.size(), 1u);
  EXPECT_EQ(paths::part(dirs[0], 1), name);
}

}  // namespace
}  // namespace zw
