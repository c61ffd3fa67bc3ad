#include <gtest/gtest.h>

#include "app/main_window.h"
#include "support/test_app.h"

namespace zw {
namespace {

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
  EXPECT_EQ(host.messages, Strings{"Compiling Fonts"});
  EXPECT_EQ(dir.read("app/fonts.dat"), " 2 \r\n 2 \r\nArial\r\nLiberation Serif\r\n");
  EXPECT_TRUE(s.chart_font_name == "Arial" && s.chart_font_size == 10 &&
              s.f1.Combo2.text == "No Styles");
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
  dir.write("app/levels.dat", "cvrs\r\nb\r\n" + dir.at("restored") + "\r\nCourier\r\n 5 \r\n");
  start(dir.at("given"));
  EXPECT_EQ((Strings{s.style_root, s.f1.Combo2.text, s.chart_font_name}),
            (Strings{dir.at("given"), "b", "Courier"}));
  EXPECT_EQ(s.f1.Combo2.items, (Strings{"b", "c"}));
  EXPECT_EQ(s.levels.main_level_last, 1);
  EXPECT_EQ(s.chart_font_size, 10);  // 5 is outside 6 to 16
}

TEST_F(StartUp, FontCorrectionsAtActivation) {
  start();
  const struct {
    const char* name;
    float size;
    const char* want_name;
    float want_size;
  } cases[] = {{"Ar", 12, "Arial", 12},
               {"Courier", 17, "Courier", 10},
               {"Courier", 6, "Courier", 6},
               {"Courier", 16, "Courier", 16}};
  for (const auto& f : cases) {
    s.chart_font_name = f.name;
    s.chart_font_size = f.size;
    Form_Activate(s, host);
    EXPECT_TRUE(s.chart_font_size == f.want_size && surfaces[0].font == f.want_name)
        << f.name << f.size;
  }
}

TEST_F(StartUp, ABurstOfResizesLaysOutOnceAndFlatButtonsHover) {
  start();
  host.fixed_time = 100.0;
  for (int i = 0; i < 5; ++i) Form_Resize(s, host);
  host.fixed_time = 100.15;
  Form_Resize(s, host);  // a later resize restarts the wait
  for (double t : {100.3, 100.4}) {
    EXPECT_TRUE(s.f1.tm1.enabled) << t;  // still within 0.2 seconds of the last
    host.fixed_time = t;
    tm1_Timer(s, host);
  }
  EXPECT_FALSE(s.f1.tm1.enabled);

  button_MouseMove(s, host, s.f1.command2);
  EXPECT_TRUE(s.hover_active && surfaces[5].texts().back() == "Check");
  int clears = surfaces[5].clears;
  button_MouseMove(s, host, s.f1.command2);  // already in the hover look: not drawn again
  EXPECT_EQ(surfaces[5].clears, clears);
}

}  // namespace
}  // namespace zw
