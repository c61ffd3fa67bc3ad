#include <gtest/gtest.h>

#include "app/data_trace.h"
#include "app/menus.h"
#include "app/settings.h"
#include "base/text.h"
#include "chart/chart.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::RecordingSurface;

const std::string monaco = std::string(ZW_SOURCE_DIR) + "/../shared/osm/monaco.osm.pbf";
constexpr Colour idle_orange = rgb(230, 120, 0);

// The texts of the chart that count a row's catch, in row order.
Strings counts(const test::TestApp& app) {
  Strings out;
  for (const auto& t : app.p1.texts())
    if (text::contains(t, " caught") || text::contains(t, "not run")) out.push_back(text::trim(t));
  return out;
}

int idle_marks(const test::TestApp& app) {
  int n = 0;
  for (const auto& op : app.p1.of(RecordingSurface::Op::Kind::fill))
    n += op.colour == idle_orange && op.x1 == 600;
  return n;
}

// Double-clicks the chart at y twips and returns what it says.
std::string double_click(test::TestApp& app, double y) {
  app.host.messages.clear();
  app.s.f1.p1.mouse_y = y;
  chart_DblClick(app.s, app.host);
  return app.host.messages.empty() ? "" : app.host.messages.back();
}

// The window's "Data" file: each row counts what its rule catches in it, an
// idle rule is marked, a double-click lists examples, and the file is kept in
// the settings.
TEST(DataCounts, ChartRowsCountWhatTheirRulesCatch) {
  test::TestApp app;
  app.style("s",
            {{"options", "levels = 0:24, 1:20\n"},
             {"lines",
              "highway=primary [0x02 resolution 20]\n"
              "include 'inc/rare';\n"},
             {"inc/rare",
              "# nothing in Monaco is tagged so\nhighway=no_such_road [0x03 resolution 20]\n"}});
  app.select("s");
  app.click_kind(1);
  app.tick_category("All");
  app.s.f1.inc.value = 1;
  app.check();
  ASSERT_EQ(app.rows().size(), 2u);
  EXPECT_EQ(counts(app), Strings{});
  EXPECT_EQ(double_click(app, 100), "Open a data file first: File > Open Data file");
  EXPECT_FALSE(app.s.f1.mf[file_menu::close_data].enabled);
  app.host.messages.clear();

  // A comma in its name must survive the settings.
  app.dir.copy(monaco, "maps/area, 1.osm.pbf");
  const auto data = app.dir.at("maps/area, 1.osm.pbf");
  app.host.dialog_paths.push_back(data);
  mf_Click(app.s, app.host, file_menu::open_data);
  ASSERT_TRUE(app.host.messages.empty()) << app.host.messages.front();
  EXPECT_TRUE(app.s.f1.mf[file_menu::close_data].enabled);
  auto shown = counts(app);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_NE(shown[0], "0 caught");
  EXPECT_EQ(shown[1], "0 caught");
  EXPECT_EQ(idle_marks(app), 1);

  // Rows are 500 twips apart from 80 down.
  auto first = double_click(app, 300);
  EXPECT_TRUE(text::starts_with(first, "The rule at 1 (type 02) catches " +
                                           shown[0].substr(0, shown[0].find(' ')) +
                                           " elements of area, 1.osm.pbf, such as:\r\nway/"))
      << first;
  EXPECT_EQ(text::split(first, "\r\n").size(), 4u);
  EXPECT_EQ(double_click(app, 600),
            "The rule at a)2 (type 03) catches no element of area, 1.osm.pbf.");
  EXPECT_EQ(double_click(app, 20), "");
  EXPECT_EQ(double_click(app, 5000), "");

  // An edited rule is counted anew at the next Check.
  app.dir.write("styles/s/inc/rare",
                "# footways there are\nhighway=footway [0x03 resolution 20]\n");
  app.check();
  auto recounted = counts(app);
  ASSERT_EQ(recounted.size(), 2u);
  EXPECT_NE(recounted[1], "0 caught");

  // Kept across a restart, and counted again then.
  savedata(app.s, app.host);
  test::TestApp again;
  again.dir.write("app/levels.dat", app.dir.read("app/levels.dat"));
  loaddata(again.s, again.host);
  EXPECT_EQ(again.s.data_file, data);
  EXPECT_EQ(again.s.data.data_file, data);

  mf_Click(app.s, app.host, file_menu::close_data);
  EXPECT_EQ(counts(app), Strings{});
  EXPECT_FALSE(app.s.f1.mf[file_menu::close_data].enabled);
  EXPECT_EQ(app.s.data_file, "");
}

// A file that is no OSM data is named, and the chart goes on without counts.
TEST(DataCounts, UnreadableDataIsNamed) {
  test::TestApp app;
  app.style("s", {{"lines", "highway=primary [0x02 resolution 20]\n"}});
  app.select("s");
  for (const std::string name : {"empty.osm.pbf", "none.osm.pbf", "notes.txt"}) {
    if (name != "none.osm.pbf") app.dir.write(name, name == "notes.txt" ? "not data\n" : "");
    app.host.messages.clear();
    app.host.dialog_paths.push_back(app.dir.at(name));
    mf_Click(app.s, app.host, file_menu::open_data);
    ASSERT_EQ(app.host.messages.size(), 1u) << name;
    EXPECT_TRUE(text::contains(app.host.messages[0], app.dir.at(name))) << app.host.messages[0];
    EXPECT_EQ(app.s.data.data_file, "");
    EXPECT_EQ(row_catch(app.s, 0), nullptr);
  }
}

}  // namespace
}  // namespace zw
