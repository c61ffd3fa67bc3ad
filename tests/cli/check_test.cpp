#include <gtest/gtest.h>

#include "base/text.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

// A style drawing two polygons, a line from an included file and a point,
// and a TYP file that knows some of them.
struct CliCheck : ::testing::Test {
  void SetUp() override {
    dir.write("styles/s/options", "levels = 0:24, 1:22, 2:20\n");
    dir.write("styles/s/polygons",
              "landuse=forest [0x50 resolution 20]\nlanduse=meadow [0x51 resolution 22]\n");
    dir.write("styles/s/lines", "include 'inc/roads';\n");
    dir.write("styles/s/inc/roads", "# roads\nhighway=path [0x10f04 resolution 22]\n");
    dir.write("styles/s/points", "amenity=cafe [0x2a0e resolution 24]\n");
    dir.write(
        "map.txt",
        "[_id]\nFID=42\n[end]\n"
        "[_drawOrder]\nType=0x050,1\n[end]\n"
        "[_polygon]\nType=0x50\nXpm=\"0 0 1 0\"\n\"a c #20A020\"\n[end]\n"
        "[_polygon]\nType=0x51\nXpm=\"0 0 1 0\"\n\"a c #21A121\"\n[end]\n"
        "[_point]\nType=0x2a\nSubType=0x0e\nDayXpm=\"1 1 1 1\"\n\"$ c #000000\"\n\"$\"\n[end]\n");
  }
  test::CliResult check(std::vector<std::string> more) {
    std::vector<std::string> args = {"check",           dir.at("styles/s"), "--typ",
                                     dir.at("map.txt"), "--system-dir",     dir.at("system")};
    args.insert(args.end(), more.begin(), more.end());
    return test::run_cli(args);
  }
  test::TempDir dir;
};

TEST_F(CliCheck, PrintsOneFindingALineThenTheSummary) {
  auto r = check({"--family-id", "43"});
  EXPECT_EQ(r.status, 1) << r.err;
  std::string typ = text::replace_all(dir.at("map.txt"), "\\", "\\\\");
  // Warnings first, in the order of the first rule drawing each type.
  EXPECT_EQ(
      r.out,
      "warning\tpolygons\t0x51\tpolygons:2\tnot-in-draw-order\tpolygon type not in the TYP file's "
      "[_drawOrder] (level 0-1): the device does not draw it\n"
      "warning\tlines\t0x10f04\tinc/roads:2\tmissing-type\textended line type not in the TYP file "
      "(level "
      "0-1): many devices do not draw it at all\n"
      "warning\tpolygons\t0x50\tpolygons:1\tlooks-alike\tlooks like 0x51 (polygons:2) at level "
      "0-1: colour "
      "difference 0.3\n"
      "warning\t\t\t" +
          typ +
          ":2\tfamily-id\tthe TYP file's FID 42 is not the map's family id 43: the "
          "device ignores the TYP file\n"
          "summary\t4 warnings, 0 notes\n");
}

TEST_F(CliCheck, ExitStatus) {
  dir.write("styles/s/polygons", "landuse=forest [0x50 resolution 20]\n");
  dir.write("styles/s/lines", "highway=path [0x16 resolution 22]\n");
  auto notes_only = check({"--family-id", "42"});
  EXPECT_EQ(notes_only.status, 0) << notes_only.out;
  EXPECT_EQ(text::after(notes_only.out, "summary\t"), "0 warnings, 2 notes\n") << notes_only.out;

  dir.write("empty.txt", "no sections here\n");
  const std::vector<std::string> cases[] = {
      {dir.at("styles/s"), "--typ", dir.at("none.txt")},
      {dir.at("styles/s"), "--typ", dir.at("empty.txt")},
      {dir.at("styles/none"), "--typ", dir.at("map.txt")},
      {dir.at("styles/s")},
      {dir.at("styles/s"), "--typ", dir.at("map.txt"), "--family-id", "x"},
  };
  for (auto args : cases) {
    args.insert(args.begin(), "check");
    args.insert(args.end(), {"--system-dir", dir.at("system")});
    auto r = test::run_cli(args);
    EXPECT_EQ(r.status, 2) << args[1] << " " << args[3] << r.err;
    EXPECT_FALSE(r.err.empty()) << args[1] << " " << args[3];
  }
}

}  // namespace
}  // namespace zw
