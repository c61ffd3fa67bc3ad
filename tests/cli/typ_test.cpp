#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "base/text.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::run_cli;

struct CliTyp : ::testing::Test {
  test::CliResult typ(const std::string& file) {
    return run_cli({"typ", file, "--system-dir", dir.at("system")});
  }
  test::TempDir dir;
};

TEST_F(CliTyp, PrintsEveryTableWithItsLineEndsEscaped) {
  dir.write("map.txt",
            "[_polygon]\r\nType=0x3c\r\nXpm=\"0 0 1 0\"\r\n\"0 c #A8C8F0\"\r\n[end]\r\n"
            "[_point]\r\nType=0x2f\r\nSubType=0x06\r\nDayXpm=\"2 1 1 1\"\r\n\"$ c "
            "#FF0000\"\r\n\"$\\$\"\r\n[end]\r\n"
            "[_line]\r\nType=0x01\r\nLineWidth=1\r\n\"0 c #E03020\"\r\n[end]\r\n");
  auto r = typ(dir.at("map.txt"));
  EXPECT_EQ(r.status, 0) << r.err;
  // Each section ends at its [end]; the point's sub-type is part of its type.
  std::string solid;
  for (int i = 0; i < 32; ++i) solid += std::string(32, '0') + "\\r\\n";
  EXPECT_EQ(r.out, "polygons\t1\n0\t03c00\tf0c8a8\\r\\n\t" + solid +
                       "\n"
                       "lines\t1\n0\t00100\t2030e0\\r\\n\t" +
                       std::string(32, '0') +
                       "\\r\\n\n"
                       "points\t1\n0\t02f06\t0000FF\\r\\n\t$\\\\$\\r\\n\n");
}

// A file without sections, a missing one and one too large to read all fail;
// only a missing one gives counts of -1.
TEST_F(CliTyp, FilesThatGiveNoTablesFail) {
  dir.write("notes.txt", "Type=0x01\r\n\"0 c #E03020\"\r\n");
  dir.write("big.txt", "");
  std::filesystem::resize_file(dir.at("big.txt"), static_cast<std::uintmax_t>(max_read_bytes + 1));
  const struct {
    const char *file, *out, *err;
  } cases[] = {
      {"notes.txt", "polygons\t0\nlines\t0\npoints\t0\n", "No TYP section"},
      {"none.txt", "polygons\t-1\nlines\t-1\npoints\t-1\n", "message: Cannot find file "},
      {"big.txt", nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    auto r = typ(dir.at(c.file));
    EXPECT_EQ(r.status, 1);
    if (c.out) {
      EXPECT_EQ(r.out, c.out);
    }
    EXPECT_TRUE(text::contains(r.err, c.err) && text::contains(r.err, dir.at(c.file))) << r.err;
  }
  EXPECT_EQ(run_cli({"typ"}).status, 2);
  auto help = run_cli({"typ", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(text::contains(help.out, "typ FILE"));
}

}  // namespace
}  // namespace zw
