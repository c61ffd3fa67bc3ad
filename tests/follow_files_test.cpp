// The chart follows its files: an editor's save redraws it without a click.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/check_handlers.h"
#include "app/follow_files.h"
#include "chart/chart.h"
#include "support/test_app.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

struct Following : ::testing::Test {
  test::TestApp app;
  AppState& s = app.s;
  double now = 1000;

  void SetUp() override {
    app.host.fixed_time = now;
    app.host.watch.changed = [this](const std::string& path) { file_changed(s, app.host, path); };
    // Enough rows for the chart to scroll.
    std::string lines = "include 'inc';\n";
    for (int i = 0; i < 120; ++i) lines += "highway=road" + std::to_string(i) + " [0x06 level 1]\n";
    app.style("s", {{"options", "levels = 0:24, 1:22, 2:20\n"},
                    {"lines", lines},
                    {"inc", "highway=track [0x0a resolution 22]\n"}});
    app.select("s");
    app.click_kind(1);
    app.tick_category("All");
    s.f1.inc.value = 1;
    app.check();
  }

  std::string path(const std::string& file) { return app.dir.at("styles/s/" + file); }
  // An editor's save: the file written, the window told.
  void save_at(const std::string& full, const std::string& content) {
    std::ofstream(to_fs_path(full), std::ios::binary | std::ios::trunc) << content;
    app.host.watch.fire(full);
  }
  void save(const std::string& file, const std::string& content) { save_at(path(file), content); }
  // The window's timer ticking, `later` seconds on.
  void tick(double later) {
    app.host.fixed_time = now += later;
    if (s.f1.files_timer.enabled) files_timer_Timer(s, app.host);
  }
  std::string chart() {
    std::string all;
    for (const auto& row : app.rows()) all += row + "\n";
    return all;
  }
};

TEST_F(Following, ASavedFileRedrawsTheChartAsItStands) {
  std::string typ_file = app.dir.at("look.txt");
  app.dir.write("look.txt", "[_line]\nType=0x0a\nXpm=\"0 0 1 0\"\n\"1 c #102030\"\n[end]\n");
  ASSERT_TRUE(loadtyp(s, app.host, typ_file));
  app.check();
  EXPECT_EQ(app.host.watch.paths, (Strings{path("lines"), path("inc"), path("options"), typ_file}));

  struct Case {
    std::string file;
    std::string content;
    std::function<bool()> shows;
  } cases[] = {
      {path("lines"), "include 'inc';\nhighway=primary [0x03 resolution 18]\n",
       [&] { return chart().find(" 18 24 - 03") != std::string::npos; }},
      // An included file already read is read again, as a second Check reads it.
      {path("inc"), "highway=track [0x0a resolution 21]\n",
       [&] { return chart().find(" 21 24 - 0A") != std::string::npos; }},
      {path("options"), "levels = 0:24, 1:21\n",
       [&] { return s.f1.Label4.caption == "Levels:0:24,1:21 + "; }},
      {typ_file, "[_line]\nType=0x0a\nXpm=\"0 0 1 0\"\n\"1 c #405060\"\n[end]\n",
       [&] { return s.typ.lines.count > 0 && s.typ.lines.colours[0].find("605040") == 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    int scroll = s.f1.vs.max / 2;
    s.f1.vs.value = scroll;
    vs_Scroll(s, app.host);
    int runs = s.analysis_runs;
    save_at(c.file, c.content);
    tick(0.01);
    EXPECT_EQ(s.analysis_runs, runs) << "redrawn before the save was over";
    tick(follow_quiet_seconds);
    EXPECT_EQ(s.analysis_runs, runs + 1);
    EXPECT_TRUE(c.shows()) << chart();
    EXPECT_FALSE(s.f1.files_timer.enabled);
    EXPECT_EQ(s.selected_kind, 1);
    EXPECT_EQ(s.f1.Check3[1].value, 1);
    EXPECT_EQ(s.f1.Check1[0].value, 1);
    EXPECT_EQ(s.f1.inc.value, 1);
    EXPECT_EQ(s.f1.vs.value, std::min(scroll, s.f1.vs.max));
  }
  EXPECT_TRUE(app.host.messages.empty()) << app.host.messages.front();
}

TEST_F(Following, ABurstOfChangesIsOneRedrawAfterItEnds) {
  int runs = s.analysis_runs;
  for (int step = 0; step < 5; ++step) {
    save("lines", step % 2 ? "" : "highway=primary [0x03 resolution 18]\n");
    tick(follow_quiet_seconds / 2);
  }
  save("inc", "highway=track [0x0a resolution 21]\n");
  tick(follow_quiet_seconds / 2);
  EXPECT_EQ(s.analysis_runs, runs);
  tick(follow_quiet_seconds);
  tick(follow_quiet_seconds);
  EXPECT_EQ(s.analysis_runs, runs + 1);
}

TEST_F(Following, ARedrawWaitsForTheUsersHandlerUnderWay) {
  int runs = s.analysis_runs;
  save("lines", "highway=primary [0x03 resolution 18]\n");
  s.handlers_running = 1;
  tick(1);
  EXPECT_EQ(s.analysis_runs, runs);
  s.handlers_running = 0;
  tick(0.01);
  EXPECT_EQ(s.analysis_runs, runs + 1);
}

TEST_F(Following, ARemovedFileIsSaidOnceAndItsReturnRedraws) {
  std::filesystem::remove(to_fs_path(path("lines")));
  for (int save = 0; save < 2; ++save) {
    app.host.watch.fire(path("lines"));
    tick(1);
  }
  EXPECT_EQ(app.host.messages.size(), 1u);
  EXPECT_EQ(s.result_count, 0);
  save("lines", "highway=primary [0x03 resolution 18]\n");
  tick(1);
  EXPECT_EQ(app.rows().size(), 1u);
  EXPECT_EQ(app.host.messages.size(), 1u);
}

TEST_F(Following, NothingIsFollowedOnceTheChartHasGone) {
  app.click_kind(0);
  int runs = s.analysis_runs;
  save("lines", "highway=primary [0x03 resolution 18]\n");
  tick(1);
  EXPECT_EQ(s.analysis_runs, runs);
  EXPECT_TRUE(app.host.watch.paths.empty());
}

}  // namespace
}  // namespace zw
