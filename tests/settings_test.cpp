#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/settings.h"
#include "app/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

using Strings = std::vector<std::string>;

std::string levels_dat(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

TEST(Settings, WritesTwentyNineLinesWithCrLf) {
  test::TestApp app;
  app.s.style_name = "mine";
  app.s.style_root = "/maps/styles";
  app.s.chart_font_name = "Arial";
  app.s.chart_font_size = 9.5f;
  app.s.typ_file = "/maps/typ.txt";
  app.s.f1.inc.value = 1;
  app.s.selected_kind = 2;
  app.s.f1.Check1[3].value = 1;
  savedata(app.s, app.host);
  auto written = app.dir.read("app/levels.dat");
  auto lines = text::split(written, "\r\n");
  ASSERT_EQ(lines.size(), 30u);  // 29 lines and the empty rest after the last CR LF
  EXPECT_EQ(lines[0], "cvrs");
  EXPECT_EQ(lines[1], "mine");
  EXPECT_EQ(lines[4], " 9.5 ");
  EXPECT_EQ(lines[6], " 1 ");
  EXPECT_EQ(lines[7], " 2 ");
  EXPECT_EQ(lines[8], " 0 ");
  EXPECT_EQ(lines[11], " 1 ");
  EXPECT_EQ(lines[29], "");

  test::TestApp again;
  again.dir.write("app/levels.dat", written);
  loaddata(again.s, again.host);
  EXPECT_EQ(again.s.style_name, "mine");
  EXPECT_EQ(again.s.style_root, "/maps/styles");
  EXPECT_EQ(again.s.chart_font_size, 9.5f);
  EXPECT_EQ(again.s.typ_file, "/maps/typ.txt");
  EXPECT_EQ(again.s.f1.inc.value, 1);
  EXPECT_EQ(again.s.selected_kind, 2);
  EXPECT_EQ(again.s.f1.Check1[3].value, 1);
  EXPECT_EQ(again.s.f1.Combo2.text, "mine");
}

TEST(Settings, ReadingStopsAtTheFirstFailureAndKeepsWhatWasRead) {
  struct Case {
    Strings lines;
    std::string name, root, font;
    int kind, inc, box1;
  };
  Strings full{"cvrs", "mine", "/r", "Arial", " 10 ", "", " 1 ", " 1 ", " 0 ", " 1 "};
  for (const auto& c : std::vector<Case>{
           // Ends after line 6: kind, Inc and boxes keep their start-up values.
           {{"cvrs", "mine", "/r", "Arial", " 10 ", ""}, "mine", "/r", "Arial", 0, 0, 0},
           {full, "mine", "/r", "Arial", 1, 1, 1},
           // A comma cuts the name; the fields shift and the size reads "/r" and fails.
           {{"cvrs", "my,style", "/r", "Arial", " 10 ", "", " 1 ", " 1 "}, "my", "style", "/r", 0, 0, 0},
           // A text where a number is expected.
           {{"cvrs", "mine", "/r", "Arial", "ten", "", " 1 ", " 1 "}, "mine", "/r", "Arial", 0, 0, 0},
           // A kind outside the three.
           {{"cvrs", "mine", "/r", "Arial", " 10 ", "", " 1 ", " 7 ", " 1 "}, "mine", "/r", "Arial", 0, 1, 0},
           // Quoted fields keep their commas.
           {{"cvrs", "\"a,b\"", "/r"}, "a,b", "/r", "", 0, 0, 0},
       }) {
    test::TestApp app;
    app.dir.write("app/levels.dat", levels_dat(c.lines));
    loaddata(app.s, app.host);
    EXPECT_EQ(app.s.style_name, c.name) << c.lines[1];
    EXPECT_EQ(app.s.style_root, c.root) << c.lines[1];
    EXPECT_EQ(app.s.chart_font_name, c.font) << c.lines[1];
    EXPECT_EQ(app.s.selected_kind, c.kind) << c.lines[1];
    EXPECT_EQ(app.s.f1.inc.value, c.inc) << c.lines[1];
    EXPECT_EQ(app.s.f1.Check1[1].value, c.box1) << c.lines[1];
  }
}

TEST(Settings, RestoredStyleIsListedAndItsLevelsRead) {
  test::TestApp app;
  app.style("mine", {{"options", "levels=0:24,1:20\n"}});
  app.dir.write("app/levels.dat", levels_dat({"cvrs", "mine", app.dir.at("styles")}));
  loaddata(app.s, app.host);
  EXPECT_EQ(app.s.f1.Combo2.items, Strings{"mine"});
  EXPECT_EQ(app.s.levels.main_level_last, 1);
}

TEST(FontCache, RoundTripAndShortFiles) {
  test::TestApp app;
  app.s.f1.Combo1.items = {"Arial", "DejaVu Sans"};
  savefnts(app.s, app.host, app.dir.at("fonts.dat"));
  EXPECT_EQ(app.dir.read("fonts.dat"), " 2 \r\n 2 \r\nArial\r\nDejaVu Sans\r\n");
  app.s.f1.Combo1.items.clear();
  ldfnts(app.s, app.host, app.dir.at("fonts.dat"));
  EXPECT_EQ(app.s.f1.Combo1.items, (Strings{"Arial", "DejaVu Sans"}));

  app.dir.write("fonts.dat", " 0 \r\n 0 \r\n");
  ldfnts(app.s, app.host, app.dir.at("fonts.dat"));
  EXPECT_TRUE(app.s.f1.Combo1.items.empty());
  app.dir.write("fonts.dat", " 5 \r\n 3 \r\nA\r\nB\r\n");  // fewer names than counted
  ldfnts(app.s, app.host, app.dir.at("fonts.dat"));
  EXPECT_EQ(app.s.f1.Combo1.items, (Strings{"A", "B"}));
}

struct StartUp : ::testing::Test {
  void start(const std::string& command_line = "") {
    s.app_dir = dir.at("app");
    dir.write("app/.keep", "");
    s.command_line = command_line;
    for (auto* p : {&s.f1.p1, &s.f1.p2, &s.f1.p3, &s.f1.p4, &s.f1.com1, &s.f1.command2})
      p->attach(&surfaces[surface_count++]);
    Form_Load(s, host);
    Form_Activate(s, host);
  }
  test::TempDir dir;
  AppState s;
  HeadlessHost host;
  test::RecordingSurface surfaces[6];
  int surface_count = 0;
};

TEST_F(StartUp, FirstStartInAnEmptyProgramDirectory) {
  host.fonts = {"Arial", "@MS Gothic", "Liberation Serif"};
  start();
  EXPECT_FALSE(dir.read("app/system/lines.res").empty());
  EXPECT_FALSE(dir.read("app/system/points.res").empty());
  EXPECT_FALSE(dir.read("app/system/polygons.res").empty());
  EXPECT_EQ(host.messages, Strings{"Compiling Fonts"});
  EXPECT_EQ(dir.read("app/fonts.dat"), " 2 \r\n 2 \r\nArial\r\nLiberation Serif\r\n");
  EXPECT_EQ(s.chart_font_name, "Arial");
  EXPECT_EQ(s.chart_font_size, 10);
  EXPECT_EQ(s.f1.Combo2.text, "No Styles");
  EXPECT_EQ(s.f1.caption, "Zoomwright 2.51 ");
  EXPECT_EQ(s.f1.Check3[0].value, 1);
  EXPECT_EQ(s.f1.Check1[1].caption, "Landuse");
  EXPECT_EQ(s.f1.command2.tag, "Check");
  EXPECT_EQ(s.f1.p3.top, s.f1.label2.bounds.top + s.f1.label2.bounds.height);
  // The second activation reads the cache without a message.
  host.messages.clear();
  Form_Activate(s, host);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(StartUp, CommandLineStyleRootOverridesTheRestoredOne) {
  dir.write("restored/a/options", "levels=0:24\n");
  dir.write("given/b/options", "levels=0:24,1:22\n");
  dir.write("given/c/options", "levels=0:24\n");
  dir.write("app/levels.dat", levels_dat({"cvrs", "b", dir.at("restored"), "Courier", " 5 "}));
  start(dir.at("given"));
  EXPECT_EQ(s.style_root, dir.at("given"));
  EXPECT_EQ(s.f1.Combo2.items, (Strings{"b", "c"}));
  EXPECT_EQ(s.f1.Combo2.text, "b");
  EXPECT_EQ(s.levels.main_level_last, 1);
  EXPECT_EQ(s.chart_font_name, "Courier");
  EXPECT_EQ(s.chart_font_size, 10);  // 5 is outside 6 to 16
}

TEST_F(StartUp, FontCorrectionsAtActivation) {
  struct F { std::string name; float size; std::string want_name; float want_size; };
  for (const auto& f : std::vector<F>{{"Ar", 12, "Arial", 12},
                                      {"Courier", 17, "Courier", 10},
                                      {"Courier", 6, "Courier", 6},
                                      {"Courier", 16, "Courier", 16},
                                      {"Courier", 5, "Courier", 10}}) {
    if (surface_count == 0) start();
    s.chart_font_name = f.name;
    s.chart_font_size = f.size;
    Form_Activate(s, host);
    EXPECT_EQ(s.chart_font_name, f.want_name);
    EXPECT_EQ(s.chart_font_size, f.want_size);
    EXPECT_EQ(surfaces[0].font, f.want_name);
  }
}

TEST_F(StartUp, TypReminderWhenTheTypBoxIsTickedWithoutATextFile) {
  start();
  s.f1.label2.value = 1;
  host.messages.clear();
  Form_Activate(s, host);
  EXPECT_EQ(host.messages, Strings{"Add your TYP file (as .txt)\r\n\r\nFile,Open TYP file"});
}

TEST_F(StartUp, ABurstOfResizesLaysOutOnce) {
  start();
  host.fixed_time = 100.0;
  for (int i = 0; i < 5; ++i) Form_Resize(s, host);
  EXPECT_TRUE(s.f1.tm1.enabled);
  host.fixed_time = 100.1;
  tm1_Timer(s, host);
  EXPECT_TRUE(s.f1.tm1.enabled);  // still within 0.2 seconds
  host.fixed_time = 100.25;
  tm1_Timer(s, host);
  EXPECT_FALSE(s.f1.tm1.enabled);
}

TEST_F(StartUp, StyleRootChooser) {
  start();
  dir.write("roots/x/options", "levels=0:24\n");
  host.dialog_paths = {dir.at("nowhere"), dir.at("roots")};
  com1_Click(s, host);
  EXPECT_EQ(s.f1.Combo2.text, "No Styles");
  com1_Click(s, host);
  EXPECT_EQ(s.f1.Combo2.items, Strings{"x"});
  EXPECT_EQ(host.dialog_titles, (Strings{"Select Style   Directory", "Select Style   Directory"}));
}

TEST_F(StartUp, FlatButtonsHover) {
  start();
  button_MouseMove(s, host, s.f1.command2);
  EXPECT_TRUE(s.hover_active);
  EXPECT_EQ(s.f1.command2.back, rgb(250, 250, 250));
  EXPECT_EQ(surfaces[5].texts().back(), "Check");
  int clears = surfaces[5].clears;
  button_MouseMove(s, host, s.f1.command2);  // already in the hover look
  EXPECT_EQ(surfaces[5].clears, clears);
  Form_MouseMove(s, host);
  EXPECT_FALSE(s.hover_active);
  EXPECT_EQ(s.f1.command2.back, rgb(230, 230, 230));
}

}  // namespace
}  // namespace zw
