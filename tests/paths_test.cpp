#include <gtest/gtest.h>

#include "base/std_file_system.h"
#include "base/paths.h"
#include "support/test_app.h"

namespace zw {
namespace {

TEST(Paths, PartCutsAtTheLastSeparatorOfEitherKindAndCollapseDropsDoubles) {
  const struct {
    std::string path;
    int mode;
    std::string part;
  } cases[] = {{"C:\\styles\\mine\\", 2, "mine"},
               {"mine", 2, "mine"},
               {"C:\\styles\\mine\\", 1, ""},
               {"C:\\a\\b", 0, "C:\\a\\"},
               {"a/b\\c", 1, "c"},
               {"/home/u/styles/mine", 3, "/home/u"},
               {"\\x", 2, ""},
               {"plain", 0, "plain"}};
  for (const auto& p : cases)
    EXPECT_EQ(paths::part(p.path, p.mode), p.part) << p.path << " " << p.mode;
  EXPECT_EQ(paths::collapse("a//b\\\\c/"), paths::to_host("a/b/c/"));
}

TEST(Paths, NormalResolvesDotsAsText) {
  const struct {
    const char *path, *normal;
  } cases[] = {
      {"/s/st/inc/../lines", "/s/st/lines"},
      {"/s/st/./inc//a", "/s/st/inc/a"},
      {"/s/st/../../../x", "/x"},
      {"st/../../x", "../x"},
      {"./a/b/..", "a"},
      {"a/..", "."},
      {"st\\inc\\..\\lines", "st/lines"},
  };
  for (const auto& c : cases) EXPECT_EQ(paths::normal(c.path), paths::to_host(c.normal)) << c.path;
}

TEST(Paths, TheSystemsOwnSeparatorComesOutEitherGoesIn) {
  struct J {
    std::string a, b, joined;
  };
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

TEST(Files, PatternsIgnoreCaseAndNonAsciiPathsWork) {
  EXPECT_TRUE(matches_pattern("lines.RES", "*.res"));
  EXPECT_TRUE(matches_pattern("a.txt", "?.txt"));
  EXPECT_FALSE(matches_pattern("lines.res.bak", "*.res"));
  test::TempDir dir;
  StdFileSystem fs;
  const std::string name =
      "Stra\xc3\x9f"
      "e";
  dir.write(name + "/options", "levels=0:24\n");
  std::string error;
  EXPECT_EQ(fs.read(dir.at(name + "/options"), error).value_or(error), "levels=0:24\n");
  auto dirs = fs.list_dirs(dir.path());
  ASSERT_EQ(dirs.size(), 1u);
  EXPECT_EQ(paths::part(dirs[0], 1), name);
}

}  // namespace
}  // namespace zw
