#include <gtest/gtest.h>

#include <array>

#include "app/settings.h"
#include "base/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

std::string levels_dat(const Strings& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

TEST(Settings, WritesThirtyLinesWithCrLf) {
  test::TestApp app;
  app.style("mine", {{"options", "levels=0:24,1:20\n"}});
  app.s.style_name = "mine", app.s.style_root = app.dir.at("styles"),
  app.s.typ_file = "/maps/typ.txt";
  app.s.data_file = "/maps/area.osm.pbf";
  app.s.chart_font_size = 9.5f, app.s.selected_kind = 2;
  app.s.f1.inc.value = app.s.f1.Check1[3].value = 1;
  savedata(app.s, app.host);
  auto written = app.dir.read("app/levels.dat");
  auto lines = text::split(written, "\r\n");
  ASSERT_EQ(lines.size(), 31u);  // 30 lines and the empty rest after the last CR LF
  EXPECT_EQ(
      (Strings{lines[0], lines[1], lines[4], lines[6], lines[7], lines[8], lines[11], lines[29]}),
      (Strings{"cvrs", "mine", " 9.5 ", " 1 ", " 2 ", " 0 ", " 1 ", "/maps/area.osm.pbf"}));

  // Reading them back is what the window walks' restarts check.
}

TEST(Settings, ReadingStopsAtTheFirstFailureAndKeepsWhatWasRead) {
  // The file's lines, split at "|".
  const struct {
    const char *lines, *name, *root, *font;
    int kind, inc;
  } cases[] = {
      // Ends after line 6: kind and Inc keep their start-up values.
      {"cvrs|mine|/r|Arial| 10 |", "mine", "/r", "Arial", 0, 0},
      // A comma cuts the name; the fields shift and the size reads "/r" and fails.
      {"cvrs|my,style|/r|Arial| 10 || 1 | 1 ", "my", "style", "/r", 0, 0},
      // A kind outside the three.
      {"cvrs|mine|/r|Arial| 10 || 1 | 7 | 1 ", "mine", "/r", "Arial", 0, 1},
      // Quoted fields keep their commas.
      {"cvrs|\"a,b\"|/r", "a,b", "/r", "", 0, 0},
  };
  for (const auto& c : cases) {
    test::TestApp app;
    app.dir.write("app/levels.dat", levels_dat(text::split(c.lines, "|")));
    loaddata(app.s, app.host);
    EXPECT_EQ((Strings{app.s.style_name, app.s.style_root, app.s.chart_font_name}),
              (Strings{c.name, c.root, c.font}));
    EXPECT_EQ((std::array{int{app.s.selected_kind}, app.s.f1.inc.value, app.s.f1.Check1[1].value}),
              (std::array{c.kind, c.inc, 0}))
        << c.lines;
  }
}

TEST(FontCache, RoundTripAndShortFiles) {
  test::TestApp app;
  const auto file = app.dir.at("fonts.dat");
  app.s.f1.Combo1.items = {"Arial", "DejaVu Sans"};
  savefnts(app.s, app.host, file);  // the bytes written: StartUp's first start
  app.s.f1.Combo1.items.clear();
  ldfnts(app.s, app.host, file);
  EXPECT_EQ(app.s.f1.Combo1.items, (Strings{"Arial", "DejaVu Sans"}));
  app.dir.write("fonts.dat", " 5 \r\n 3 \r\nA\r\nB\r\n");  // fewer names than counted
  ldfnts(app.s, app.host, file);
  EXPECT_EQ(app.s.f1.Combo1.items, (Strings{"A", "B"}));
}

}  // namespace
}  // namespace zw
