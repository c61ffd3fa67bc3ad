#include <gtest/gtest.h>

#include "app/files.h"
#include "app/paths.h"
#include "app/shell.h"
#include "support/test_app.h"

namespace zw {
namespace {

std::string host_path(const std::string& p) { return paths::to_host(p); }

TEST(PathPart, CutsAtTheLastSeparatorOfEitherKind) {
  struct P { std::string path; int mode; std::string part; };
  for (const auto& p : std::vector<P>{{"C:\\styles\\mine\\", 2, "mine"},
                                      {"mine", 2, "mine"},
                                      {"C:\\styles\\mine\\", 1, ""},
                                      {"C:\\a\\b", 0, "C:\\a\\"},
                                      {"C:\\a\\b", 1, "b"},
                                      {"/home/u/styles/mine", 2, "styles"},
                                      {"/home/u/styles/mine", 3, "/home/u"},
                                      {"a/b\\c", 1, "c"},
                                      {"\\x", 2, ""},
                                      {"plain", 0, "plain"}})
    EXPECT_EQ(paths::part(p.path, p.mode), p.part) << p.path << " " << p.mode;
}

TEST(Paths, JoinUsesTheHostSeparatorAndCollapsesDoubles) {
  EXPECT_EQ(paths::join("root/", "/style"), host_path("root/style"));
  EXPECT_EQ(paths::collapse("a//b\\\\c/"), host_path("a/b/c/"));
  EXPECT_EQ(paths::to_host("a\\b/c"), host_path("a/b/c"));
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

TEST(Shell, LoadtextKeepsEveryByteAndGivesNothingForAMissingFile) {
  test::TempDir dir;
  HeadlessHost host;
  dir.write("crlf", "a\r\nb\t\xe9\r\n");
  EXPECT_EQ(loadtext(host, dir.at("crlf")), "a\r\nb\t\xe9\r\n");
  EXPECT_EQ(loadtext(host, dir.at("missing")), "");
  EXPECT_EQ(loadtext(host, dir.path()), "");  // a directory
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(host.busy());
}

TEST(Shell, SavetextAppendsCrLfAndReportsAFailure) {
  test::TempDir dir;
  HeadlessHost host;
  EXPECT_TRUE(savetext(host, dir.at("abc"), "abc"));
  EXPECT_EQ(dir.read("abc"), "abc\r\n");
  auto bad = dir.at("no/such/dir/file");
  EXPECT_FALSE(savetext(host, bad, "x"));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].rfind(bad + " ", 0), 0u);
}

TEST(Shell, CaptionAndCanvasMessage) {
  test::TestApp app;
  app.s.style_name = "mine";
  cap(app.s);
  EXPECT_EQ(app.s.f1.caption, "Zoomwright 2.51 mine");
  msg(app.s, app.host, "No Resolution Data");
  auto texts = app.p1.of(test::RecordingSurface::Op::Kind::text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].x1, 1000);
  EXPECT_EQ(texts[0].y1, 1000);
}

TEST(Files, PatternsMatchIgnoringCase) {
  EXPECT_TRUE(matches_pattern("lines.RES", "*.res"));
  EXPECT_TRUE(matches_pattern("a.txt", "?.txt"));
  EXPECT_FALSE(matches_pattern("lines.res.bak", "*.res"));
  EXPECT_TRUE(matches_pattern("x", "*"));
}

TEST(Files, NonAsciiPathsWork) {
  test::TempDir dir;
  StdFileSystem fs;
  dir.write("Stra\xc3\x9f" "e/options", "levels=0:24\n");
  std::string error;
  auto data = fs.read(dir.at("Stra\xc3\x9f" "e/options"), error);
  ASSERT_TRUE(data.has_value()) << error;
  EXPECT_EQ(*data, "levels=0:24\n");
  auto dirs = fs.list_dirs(dir.path());
  ASSERT_EQ(dirs.size(), 1u);
  EXPECT_EQ(paths::part(dirs[0], 1), "Stra\xc3\x9f" "e");
}

}  // namespace
}  // namespace zw
