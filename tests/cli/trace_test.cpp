#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "base/text.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::run_cli;

const std::string monaco = std::string(ZW_SOURCE_DIR) + "/../shared/osm/monaco.osm.pbf";

// Two nodes, a closed way of four, an open way and a route over it.
const char* const small_osm =
    "<?xml version='1.0' encoding='UTF-8'?>\n<osm version='0.6'>\n"
    " <node id='1' lat='43.70' lon='7.40'><tag k='amenity' v='cafe'/></node>\n"
    " <node id='2' lat='43.70' lon='7.41'/>\n"
    " <node id='3' lat='43.71' lon='7.41'><tag k='natural' v='tree'/></node>\n"
    " <node id='4' lat='43.71' lon='7.40'/>\n"
    " <way id='10'><nd ref='1'/><nd ref='2'/><nd ref='3'/><nd ref='4'/><nd ref='1'/>"
    "<tag k='building' v='yes'/></way>\n"
    " <way id='11'><nd ref='1'/><nd ref='3'/><tag k='highway' v='path'/></way>\n"
    " <relation id='20'><member type='way' ref='11' role=''/>"
    "<tag k='type' v='route'/><tag k='route' v='hiking'/></relation>\n"
    "</osm>\n";

struct CliTrace : ::testing::Test {
  CliTrace() {
    dir.write("s/test/options", "levels = 0:24, 1:22, 2:20\n");
    dir.write("s/test/points", "amenity=cafe [0x2a0e resolution 22]\n");
    dir.write("s/test/lines", "highway=path & route=hiking [0x16 level 1]\ninclude 'inc/more';\n");
    dir.write("s/test/inc/more", "highway=* [0x07]\n");
    dir.write("s/test/polygons", "building=* [0x13 resolution 20]\n");
    dir.write("s/test/relations", "type=route & route=hiking {apply {set route=hiking}}\n");
    dir.write("data.osm", small_osm);
  }
  test::CliResult trace(std::vector<std::string> more) {
    std::vector<std::string> args = {"trace", dir.at("s/test"), dir.at("data.osm"), "--system-dir",
                                     dir.at("system")};
    args.insert(args.end(), more.begin(), more.end());
    return run_cli(args);
  }
  test::TempDir dir;
};

TEST_F(CliTrace, CountsWhatEachRuleCatches) {
  auto r = trace({"--inc"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "polygons\tpolygons\t1\t0x13\t0-2\t1\tway/10\n"
            "lines\tlines\t1\t0x16\t0-1\t1\tway/11\n"
            "lines\tinc/more\t1\t0x07\t0\t0\t-\n"
            "points\tpoints\t1\t0x2a0e\t0-1\t1\tnode/1\n"
            "relations\trelations\t1\t-\t-\t1\trelation/20\n"
            "unmatched\tpoints\t1\tnatural=tree\n"
            "summary\tpolygons\t1\t1\t0\t0\t0\n"
            "summary\tlines\t2\t2\t0\t1\t0\n"
            "summary\tpoints\t2\t1\t1\t0\t0\n"
            "summary\trelations\t1\t1\t0\t0\t0\n");
  // Without --inc the included file's rules run, but are not listed.
  r = trace({"--kind", "lines"});
  EXPECT_EQ(r.out, "lines\tlines\t1\t0x16\t0-1\t1\tway/11\nsummary\tlines\t2\t2\t0\t0\t0\n");
}

TEST_F(CliTrace, ExplainsOneElement) {
  auto r = trace({"--explain", "way/11"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "element\tway/11\ntags\thighway=path route=hiking\nrule\tlines:1\tyes\t\n"
            "type\tlines\tlines:1\t0x16\t0-1\n");
  for (const char* unknown : {"way/99", "street/1"})
    EXPECT_EQ(trace({"--explain", unknown}).status, 2) << unknown;
}

TEST_F(CliTrace, BadInputIsNamedAndStops) {
  std::ifstream in(monaco, std::ios::binary);
  std::string pbf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(pbf.size(), 100000u) << monaco;
  dir.write("cut.osm.pbf", pbf.substr(0, pbf.size() / 2));
  dir.write("empty.osm.pbf", "");
  dir.write("html.osm", "<html><body>not OSM</body></html>\n");
  dir.write("data.txt", "x");
  ASSERT_EQ(mkfifo(dir.at("pipe.osm").c_str(), 0600), 0);
  const struct {
    std::string style, data, named;
  } cases[] = {
      {"s/test", "cut.osm.pbf", "cut.osm.pbf"}, {"s/test", "empty.osm.pbf", "empty.osm.pbf"},
      {"s/test", "html.osm", "html.osm"},       {"s/test", "data.txt", "data.txt"},
      {"s/test", "pipe.osm", "pipe.osm"},       {"s/test", "none.osm.pbf", "none.osm.pbf"},
      {"s/bad", "data.osm", "lines:2"},         {"s/slow", "data.osm", "points:1"},
      {"s/none", "data.osm", "s/none"},
  };
  dir.write("s/bad/lines", "highway=path [0x16]\nhighway=* & [0x07]\n");
  dir.write("s/slow/points", "amenity~'(c+)+' [0x1]\n");
  dir.write("data.osm",
            text::replace_all(small_osm, "v='cafe'", "v='" + std::string(40, 'c') + "!'"));
  for (const auto& c : cases) {
    auto r = run_cli({"trace", dir.at(c.style), dir.at(c.data), "--system-dir", dir.at("system")});
    EXPECT_EQ(r.status, 2) << c.data << r.err;
    EXPECT_EQ(r.out, "") << c.data;
    EXPECT_TRUE(text::contains(r.err, c.named)) << c.data << ": " << r.err;
  }
}

}  // namespace
}  // namespace zw
