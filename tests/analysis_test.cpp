#include <gtest/gtest.h>

#include "analysis/analysis.h"
#include "app/main_window.h"
#include "base/std_file_system.h"
#include "base/text.h"
#include "levels/categories.h"
#include "support/test_app.h"

namespace zw {
namespace {

// An app with the example-like style "s" selected and the lines kind ticked.
struct Analysis : ::testing::Test {
  void SetUp() override {
    app.style("s", {{"options", "levels = 0:24, 1:22, 2:20\noverview-levels = 3:18\n"},
                    {"lines",
                     "highway=primary [0x02 resolution 20]\n"
                     "highway=track [0x0a resolution 22 continue]\r\n"
                     "waterway=river [0x1f resolution 18-24]\n"
                     "highway=path [0x16 level 1]\n"
                     "highway=trunk [0x03 resolution 20]\n"},
                    {"polygons", "natural=water [0x3c resolution 20]\n"}});
    app.select("s");
    app.click_kind(1);
    app.host.messages.clear();
  }
  void only(int kind) {
    for (auto& b : app.s.f1.Check3) b.value = 0;
    if (kind >= 0) app.s.f1.Check3[static_cast<std::size_t>(kind)].value = 1;
  }
  test::TestApp app;
};

TEST_F(Analysis, AllCategoriesKeepFileOrderAndCarriageReturnsAndSortStably) {
  app.s.f1.Check1[0].value = 1;
  app.check();
  EXPECT_EQ(app.rows(), (Strings{"1 20 24 - 02", "2 22 24 c 0A", "3 18 24 - 1F", "4 22 24 - 16",
                                 "5 20 24 - 03"}));
  EXPECT_EQ(app.s.results.rule_text[1][1], "highway=track [0x0a resolution 22 continue]\r");
  const auto& l = app.s.f1.Label3;
  EXPECT_EQ((Strings{app.s.f1.label1.caption, l[24].caption, l[22].caption, l[18].caption,
                     l[23].caption}),
            (Strings{"5", "24 L0", "22 L1", "18 L3", "23"}));
  EXPECT_TRUE(l[18].visible && !l[17].visible);
  EXPECT_TRUE(l[20].bold && !l[23].bold);  // bold: a stored rule's resolution
  app.s.f1.Check2.value = 1;
  app.check();
  EXPECT_EQ(app.rows(), (Strings{"3 18 24 - 1F", "1 20 24 - 02", "5 20 24 - 03", "2 22 24 c 0A",
                                 "4 22 24 - 16"}));
}

TEST_F(Analysis, ValidationMessagesInOrder) {
  auto refused = [&](const std::string& message, bool whole = true) {
    app.host.messages.clear();
    int runs = app.s.analysis_runs;
    app.check();
    ASSERT_EQ(app.host.messages.size(), 1u);
    EXPECT_EQ(whole ? app.host.messages[0] : app.host.messages[0].substr(0, message.size()),
              message);
    EXPECT_EQ(app.s.analysis_runs, runs) << message;
  };
  const struct {
    int kind;
    bool category;
    const char *text, *message;
  } cases[] = {{-1, true, "", "Tick Lines,Polygons or Points"},
               {1, false, "  ", "Please select or enter text"},
               {-1, false, "", "Please select"}};
  for (const auto& v : cases) {
    only(v.kind);
    for (auto& b : app.s.f1.Check1) b.value = 0;
    app.s.f1.Check1[1].value = v.category ? 1 : 0;
    app.s.f1.Text2.text = v.text;
    refused(v.message);
  }
  EXPECT_TRUE(app.s.f1.Text2.wants_focus);
  app.s.f1.Combo2.items.clear();
  refused("Please select style.\r\nClick >> button");
  only(1);
  app.s.f1.Combo2.items = {"s"}, app.s.f1.Combo2.text = "gone";
  app.s.f1.Check1[0].value = 1;
  refused("Cannot find file ", false);
}

TEST_F(Analysis, EmptyResultsAreWrittenOnTheCanvas) {
  const struct {
    int kind;
    bool check4, inc;
    const char *text, *canvas;
  } cases[] = {
      // There is no points file.
      {2, false, false, "", "No Resolution Data. Perhaps tick 'INC'"},
      {2, false, true, "", "No Resolution Data"},
      {1, true, false, "nothing-like-this", "No results.  Untick any Selected Catagory"},
      {2, false, false, "nothing-like-this", "No Resolution Data . Perhaps include text search"},
  };
  for (const auto& e : cases) {
    only(e.kind);
    app.s.selected_kind = static_cast<std::int16_t>(e.kind);
    app.tick_category("Highway");
    app.s.f1.Check4.value = e.check4 ? 1 : 0;
    app.s.f1.Text2.text = e.text;
    app.s.f1.inc.value = e.inc ? 1 : 0;
    app.host.canvas_texts.clear();
    app.check();
    EXPECT_EQ(app.s.result_count, 0);
    EXPECT_EQ(app.host.canvas_texts, Strings{e.canvas});
    EXPECT_EQ(app.p1.texts(), Strings{e.canvas});
  }
}

TEST_F(Analysis, FilterTextIsIgnoredWithCategoriesUnlessIncludeIsTicked) {
  app.s.f1.Check4.value = 1;
  app.s.f1.Text2.text = "Primary";
  app.check();
  EXPECT_EQ(app.rows(), Strings{"1 20 24 - 02"});
  app.s.f1.Check4.value = 0;
  app.tick_category("Highway");
  app.s.f1.Text2.text = "track";
  app.check();
  EXPECT_TRUE(app.s.result_count == 4 && !app.s.f1.Text2.enabled);
  app.s.f1.Check4.value = 1;
  app.check();
  EXPECT_EQ(app.rows(), Strings{"2 22 24 c 0A"});
  EXPECT_TRUE(app.s.f1.Text2.enabled);
}

TEST_F(Analysis, AScaleLabelClickNarrowsTheChartAndGoesOnAfterAFailingStep) {
  app.s.f1.Check1[0].value = 1;
  app.check();
  Label3_Click(app.s, app.host, 20);
  EXPECT_EQ(app.rows(), (Strings{"1 20 24 - 02", "5 20 24 - 03"}));
  EXPECT_TRUE(app.s.f1.Label3[20].fore == rgb(255, 0, 0) && app.s.selected_res == 20 &&
              !app.s.scale_run);
  app.s.f1.Text2.enabled = false;
  // There is no label 25: colouring it fails, the steps after it still run.
  Label3_Click(app.s, app.host, 25);
  EXPECT_TRUE(!app.s.scale_run && app.s.f1.Text2.enabled && !app.host.busy());
  app.check();  // the next run is a normal one again: every row
  EXPECT_EQ(app.rows().size(), 5u);
}

TEST_F(Analysis, IncludedFilesAreScannedAfterTheRuleFileInTheirOrder) {
  app.style("s", {{"polygons", "include 'inc/land';\nnatural=water [0x3c resolution 20]\n"},
                  {"lines", "include 'inc/roads';\nhighway=primary [0x02 resolution 20]\r\n"},
                  {"inc/land", "# land\nlanduse=forest [0x50 resolution 22]\n"},
                  {"inc/roads", "# roads\r\nhighway=service\r\n[0x07 resolution 24]\r\n"}});
  app.s.f1.inc.value = 1;
  app.s.f1.Check1[0].value = 1;
  // Polygons first: the first recorded file belongs to another kind.
  app.click_kind(0);
  app.check();
  app.click_kind(1);
  app.check();
  EXPECT_EQ(app.rows(), (Strings{"2 20 24 - 02", "b)2 24 24 - 07"}));
  // Included texts have their carriage returns removed and split rules joined.
  EXPECT_EQ(app.s.results.rule_text[1][1], "highway=service[0x07 resolution 24]");
  EXPECT_EQ(app.s.includes.extra_done, "01");
}

// A lone CR ends a line as mkgmap reads it, the last one of the file too,
// and is not kept in the line.
TEST_F(Analysis, ALoneCarriageReturnEndsTheLastLine) {
  app.style("s", {{"lines", "a=1 [0x01 resolution 20]\r"}});
  app.s.f1.Check1[0].value = 1;
  app.check();
  EXPECT_EQ(app.rows(), Strings{"1 20 24 - 01"});
  EXPECT_EQ(app.s.results.rule_text[1][0], "a=1 [0x01 resolution 20]");
}

// The real files, handed over in pieces of `size` bytes.
class PieceFileSystem : public StdFileSystem {
 public:
  std::size_t size = 1;
  bool read_pieces(const std::string& path, std::string& error,
                   const std::function<void(std::string_view)>& piece) override {
    auto data = read(path, error);
    if (!data) return false;
    for (std::size_t at = 0; at < data->size(); at += size)
      piece(std::string_view(*data).substr(at, size));
    return true;
  }
};

// However a rule file is cut into pieces as it is read (a line, a CR LF, an
// include statement split between two), it gives the rows of the whole file.
// Lone CRs end lines wherever they stand; LF ends a line with the CR before
// it kept in the line.
TEST_F(Analysis, ARuleFileReadInPiecesGivesTheRowsOfTheWholeFile) {
  const std::string text =
      "\ra=1 [0x01 resolution 20]\r\r\nb=2 [0x02 level 1]\r\n\n  Include 'inc/x';\n"
      "c=3 [0x03 resolution 21-23 continue]";
  app.style("s", {{"lines", text}, {"inc/x", "d=4 [0x04 resolution 19]\n"}});
  const Strings whole{"2 20 24 - 01", "4 22 24 - 02", "7 21 23 c 03", "a)1 19 24 - 04"};
  PieceFileSystem pieces;
  app.host.fs_override = &pieces;
  for (pieces.size = 1; pieces.size <= text.size(); ++pieces.size) {
    app.select("s");
    app.click_kind(1);
    app.s.f1.Check1[0].value = 1;
    app.s.f1.inc.value = 1;
    app.check();
    EXPECT_EQ(app.rows(), whole) << pieces.size;
    EXPECT_EQ(app.s.results.rule_text[1][1], "b=2 [0x02 level 1]\r");
    EXPECT_EQ(app.s.results.rule_text[1][2], "c=3 [0x03 resolution 21-23 continue]");
  }
  app.host.fs_override = nullptr;
}

}  // namespace
}  // namespace zw
