#include <gtest/gtest.h>

#include "app/menus.h"
#include "typ/typ_reader.h"
#include "support/test_app.h"

namespace zw {
namespace {

using namespace std::string_literals;
TEST(Menus, DialogPathLosesSurroundingBlanksAndEveryNul) {
  const std::string long_name = "dir/" + std::string(300, 'n') + ".bmp";
  const struct {
    std::string raw, expected;
  } cases[] = {
      {"  my charts/chart.bmp\0\0 "s, "my charts/chart.bmp"},
      {" \0\0 "s, ""},
      {"\tchart.bmp", "\tchart.bmp"},  // only blanks are trimmed
      {long_name, long_name},          // never cut short
  };
  for (const auto& c : cases) EXPECT_EQ(clean_dialog_path(c.raw), c.expected) << c.raw;
}

struct MenuRun : ::testing::Test {
  test::TestApp app;
  AppState& s = app.s;
  HeadlessHost& host = app.host;
};

TEST_F(MenuRun, EachFileMenuIndexRunsItsCommandAndNoOther) {
  const struct {
    int index;
    Strings titles;
    std::vector<Dialog> dialogs;
    int closes;
  } cases[] = {
      {-1, {}, {}, 0},
      {file_menu::open_style_file, {}, {}, 0},  // switched off
      {file_menu::open_typ, {"Open File"}, {}, 0},
      {7, {}, {}, 0},  // separator
      {file_menu::about, {}, {Dialog::about}, 0},
      {file_menu::save_image, {"Save File"}, {}, 0},
      {file_menu::print, {}, {}, 0},  // switched off
      {file_menu::exit, {}, {}, 1},
      {1000, {}, {}, 0},
  };
  for (const auto& c : cases) {
    HeadlessHost h;
    mf_Click(s, h, c.index);
    EXPECT_EQ(h.dialog_titles, c.titles) << c.index;
    EXPECT_EQ(h.dialogs_shown, c.dialogs) << c.index;
    EXPECT_EQ(h.close_requests, c.closes) << c.index;
    EXPECT_TRUE(h.messages.empty()) << c.index;
  }
}

TEST_F(MenuRun, OpenTypTicksTheTypBoxAndRedrawsOnlyWhenACategoryIsTicked) {
  mf_Click(s, host, file_menu::open_typ);  // cancelled: nothing changes
  EXPECT_EQ(s.f1.label2.value, 0);
  EXPECT_EQ(s.typ_file, "");
  app.style("s", {{"options", "levels = 0:24, 1:20\n"}, {"lines", "a [0x02 resolution 20]\n"}});
  app.select("s");
  app.click_kind(1);
  app.dir.write("map.txt", "[_line]\r\nType=0x02\r\n[end]\r\n");
  for (bool ticked : {false, true}) {
    s.f1.Check1[0].value = ticked ? 1 : 0;
    int runs = s.analysis_runs;
    host.file_dialogs.clear();
    host.dialog_paths.push_back("  " + app.dir.at("map.txt") + "\0\0"s);
    mf_Click(s, host, file_menu::open_typ);
    ASSERT_EQ(host.file_dialogs.size(), 1u);
    EXPECT_FALSE(host.file_dialogs[0].save);
    EXPECT_EQ(host.file_dialogs[0].default_name, "*.txt");
    EXPECT_EQ(s.typ_file, app.dir.at("map.txt"));
    EXPECT_EQ(s.f1.label2.value, 1);
    EXPECT_EQ(s.analysis_runs - runs, ticked ? 1 : 0) << ticked;
    EXPECT_TRUE(s.f1.mtls[check_typ_item].enabled);
  }
  // A file without any TYP section is named, and neither ticks the box nor
  // offers the check.
  app.dir.write("notes.txt", "Type=0x02\r\n");
  s.f1.label2.value = 0;
  host.dialog_paths.push_back(app.dir.at("notes.txt"));
  mf_Click(s, host, file_menu::open_typ);
  EXPECT_EQ(s.f1.label2.value, 0);
  EXPECT_FALSE(s.f1.mtls[check_typ_item].enabled);
  EXPECT_EQ(host.messages.back(), no_typ_section_message(app.dir.at("notes.txt")));
}

// What the dialog returns is padded; only padding is a cancel, which writes
// nothing.
TEST_F(MenuRun, SaveImageWritesUnderTheNameTheDialogReturns) {
  for (std::string chosen : {"chart", ""}) {
    HeadlessHost h;
    h.dialog_paths.push_back(chosen.empty() ? " \0 "s : "  " + app.dir.at(chosen) + "\0\0"s);
    mf_Click(s, h, file_menu::save_image);
    ASSERT_EQ(h.file_dialogs.size(), 1u);
    EXPECT_TRUE(h.file_dialogs[0].save);
    EXPECT_EQ(h.file_dialogs[0].default_name, "untitled.bmp");
    EXPECT_TRUE(h.messages.empty()) << chosen;
  }
  EXPECT_EQ(app.dir.read("chart.bmp").substr(0, 4), "bmp ");
  EXPECT_TRUE(host.fs().list_files(s.system_dir, "*.bmp").empty());
}

}  // namespace
}  // namespace zw
