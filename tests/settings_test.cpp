#include <gtest/gtest.h>

#include <array>

#include "analysis/analysis.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "app/text.h"
#include "levels/categories.h"
#include "support/test_app.h"

namespace zw {
namespace {

using Strings = std::vector<std::string>;

std::string levels_dat(const Strings& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

TEST(Settings, WritesTwentyNineLinesWithCrLfAndReadsThemBack) {
  test::TestApp app;
  app.style("mine", {{"options", "levels=0:24,1:20\n"}});
  app.s.style_name = "mine", app.s.style_root = app.dir.at("styles"), app.s.typ_file = "/maps/typ.txt";
  app.s.chart_font_size = 9.5f, app.s.selected_kind = 2;
  app.s.f1.inc.value = app.s.f1.Check1[3].value = 1;
  savedata(app.s, app.host);
  auto written = app.dir.read("app/levels.dat");
  auto lines = text::split(written, "\r\n");
  ASSERT_EQ(lines.size(), 30u);  // 29 lines and the empty rest after the last CR LF
  EXPECT_EQ((Strings{lines[0], lines[1], lines[4], lines[6], lines[7], lines[8], lines[11]}),
            (Strings{"cvrs", "mine", " 9.5 ", " 1 ", " 2 ", " 0 ", " 1 "}));

  test::TestApp again;
  again.dir.write("app/levels.dat", written);
  loaddata(again.s, again.host);
  const auto& a = again.s;
  EXPECT_EQ((Strings{a.style_root, a.f1.Combo2.text, a.typ_file}),
            (Strings{app.dir.at("styles"), "mine", "/maps/typ.txt"}));
  EXPECT_EQ(a.f1.Combo2.items, Strings{"mine"});
  EXPECT_EQ((std::array{a.levels.main_level_last, a.f1.inc.value, int{a.selected_kind}, a.f1.Check1[3].value}),
            (std::array{1, 1, 2, 1}));
  EXPECT_EQ(a.chart_font_size, 9.5f);
}

TEST(Settings, ReadingStopsAtTheFirstFailureAndKeepsWhatWasRead) {
  const struct { Strings lines; std::string name, root, font; int kind, inc; } cases[] = {
      // Ends after line 6: kind and Inc keep their start-up values.
      {{"cvrs", "mine", "/r", "Arial", " 10 ", ""}, "mine", "/r", "Arial", 0, 0},
      // A comma cuts the name; the fields shift and the size reads "/r" and fails.
      {{"cvrs", "my,style", "/r", "Arial", " 10 ", "", " 1 ", " 1 "}, "my", "style", "/r", 0, 0},
      // A kind outside the three.
      {{"cvrs", "mine", "/r", "Arial", " 10 ", "", " 1 ", " 7 ", " 1 "}, "mine", "/r", "Arial", 0, 1},
      // Quoted fields keep their commas.
      {{"cvrs", "\"a,b\"", "/r"}, "a,b", "/r", "", 0, 0},
  };
  for (const auto& c : cases) {
    test::TestApp app;
    app.dir.write("app/levels.dat", levels_dat(c.lines));
    loaddata(app.s, app.host);
    EXPECT_EQ((Strings{app.s.style_name, app.s.style_root, app.s.chart_font_name}),
              (Strings{c.name, c.root, c.font}));
    EXPECT_EQ((std::array{int{app.s.selected_kind}, app.s.f1.inc.value, app.s.f1.Check1[1].value}),
              (std::array{c.kind, c.inc, 0})) << c.lines[1];
  }
}

TEST(FontCache, RoundTripAndShortFiles) {
  test::TestApp app;
  const auto file = app.dir.at("fonts.dat");
  app.s.f1.Combo1.items = {"Arial", "DejaVu Sans"};
  savefnts(app.s, app.host, file);
  EXPECT_EQ(app.dir.read("fonts.dat"), " 2 \r\n 2 \r\nArial\r\nDejaVu Sans\r\n");
  app.s.f1.Combo1.items.clear();
  ldfnts(app.s, app.host, file);
  EXPECT_EQ(app.s.f1.Combo1.items, (Strings{"Arial", "DejaVu Sans"}));
  app.dir.write("fonts.dat", " 5 \r\n 3 \r\nA\r\nB\r\n");  // fewer names than counted
  ldfnts(app.s, app.host, file);
  EXPECT_EQ(app.s.f1.Combo1.items, (Strings{"A", "B"}));
}

struct StartUp : ::testing::Test {
  void start(const std::string& command_line = "") {
    s.app_dir = dir.at("app");
    dir.write("app/.keep", "");
    s.command_line = command_line;
    int i = 0;
    for (auto* p : {&s.f1.p1, &s.f1.p2, &s.f1.p3, &s.f1.p4, &s.f1.com1, &s.f1.command2})
      p->attach(&surfaces[i++]);
    Form_Load(s, host);
    Form_Activate(s, host);
  }
  test::TempDir dir;
  AppState s;
  HeadlessHost host;
  test::RecordingSurface surfaces[6];
};

TEST_F(StartUp, FirstStartInAnEmptyProgramDirectoryThenLaterActivationsAndTheRootChooser) {
  host.fonts = {"Arial", "@MS Gothic", "Liberation Serif"};
  start();
  for (std::string kind : {"lines", "points", "polygons"})
    EXPECT_FALSE(dir.read("app/system/" + kind + ".res").empty()) << kind;
  EXPECT_EQ(host.messages, Strings{"Compiling Fonts"});
  EXPECT_EQ(dir.read("app/fonts.dat"), " 2 \r\n 2 \r\nArial\r\nLiberation Serif\r\n");
  EXPECT_TRUE(s.chart_font_name == "Arial" && s.chart_font_size == 10 && s.f1.Combo2.text == "No Styles");
  // Later activations read the cache without a message, but remind of a missing TYP file.
  host.messages.clear();
  Form_Activate(s, host);
  EXPECT_TRUE(host.messages.empty());
  s.f1.label2.value = 1;
  Form_Activate(s, host);
  EXPECT_EQ(host.messages, Strings{"Add your TYP file (as .txt)\r\n\r\nFile,Open TYP file"});
  dir.write("roots/x/options", "levels=0:24\n");
  host.dialog_paths = {dir.at("nowhere"), dir.at("roots")};
  com1_Click(s, host);
  EXPECT_EQ(s.f1.Combo2.text, "No Styles");
  com1_Click(s, host);
  EXPECT_EQ(s.f1.Combo2.items, Strings{"x"});
  EXPECT_EQ(host.dialog_titles, Strings(2, "Select Style   Directory"));
}

TEST_F(StartUp, CommandLineStyleRootOverridesTheRestoredOne) {
  dir.write("restored/a/options", "levels=0:24\n");
  dir.write("given/b/options", "levels=0:24,1:22\n");
  dir.write("given/c/options", "levels=0:24\n");
  dir.write("app/levels.dat", levels_dat({"cvrs", "b", dir.at("restored"), "Courier", " 5 "}));
  start(dir.at("given"));
  EXPECT_EQ((Strings{s.style_root, s.f1.Combo2.text, s.chart_font_name}), (Strings{dir.at("given"), "b", "Courier"}));
  EXPECT_EQ(s.f1.Combo2.items, (Strings{"b", "c"}));
  EXPECT_EQ(s.levels.main_level_last, 1);
  EXPECT_EQ(s.chart_font_size, 10);  // 5 is outside 6 to 16
}

TEST_F(StartUp, ActivationAfterADialogKeepsTheRowsDrawn) {
  dir.write("styles/s/options", "levels=0:24,1:22\n");
  dir.write("styles/s/lines", "highway=primary [0x02 resolution 22]\nhighway=track [0x0a resolution 24]\n");
  start(dir.at("styles"));
  s.f1.Combo2.text = "s";
  Combo2_Click(s, host);
  s.f1.Check3[1].value = 1;
  Check3_MouseUp(s, host, 1);
  s.f1.Check1[0].value = 1;
  command2_Click(s, host);
  auto drawn = surfaces[0].texts();
  ASSERT_EQ(s.result_count, 2);
  Form_Activate(s, host);  // as when the About box closes
  EXPECT_EQ(surfaces[0].texts(), drawn);
  EXPECT_FALSE(host.busy());
}

TEST_F(StartUp, FontCorrectionsAtActivation) {
  start();
  const struct { const char* name; float size; const char* want_name; float want_size; } cases[] = {
      {"Ar", 12, "Arial", 12}, {"Courier", 17, "Courier", 10}, {"Courier", 6, "Courier", 6},
      {"Courier", 16, "Courier", 16}};
  for (const auto& f : cases) {
    s.chart_font_name = f.name;
    s.chart_font_size = f.size;
    Form_Activate(s, host);
    EXPECT_TRUE(s.chart_font_size == f.want_size && surfaces[0].font == f.want_name) << f.name << f.size;
  }
}

TEST_F(StartUp, ABurstOfResizesLaysOutOnceAndFlatButtonsHover) {
  start();
  host.fixed_time = 100.0;
  for (int i = 0; i < 5; ++i) Form_Resize(s, host);
  for (double t : {100.1, 100.25}) {
    EXPECT_TRUE(s.f1.tm1.enabled) << t;  // still within 0.2 seconds
    host.fixed_time = t;
    tm1_Timer(s, host);
  }
  EXPECT_FALSE(s.f1.tm1.enabled);

  button_MouseMove(s, host, s.f1.command2);
  EXPECT_TRUE(s.hover_active && surfaces[5].texts().back() == "Check");
  int clears = surfaces[5].clears;
  button_MouseMove(s, host, s.f1.command2);  // already in the hover look: not drawn again
  EXPECT_EQ(surfaces[5].clears, clears);
  Form_MouseMove(s, host);
  EXPECT_TRUE(!s.hover_active && s.f1.command2.back == rgb(230, 230, 230));
}

}  // namespace
}  // namespace zw
