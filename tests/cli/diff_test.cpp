#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <filesystem>
#include <set>

#include "base/file_io.h"
#include "base/text.h"
#include "chart/diff_chart.h"
#include "support/cli_runner.h"
#include "support/mkgmap_style.h"
#include "support/test_app.h"

namespace zw {
namespace {

const char* const four_levels = "levels = 0:24, 1:22, 2:20, 3:18\n";

// Two versions of a style under styles/: "old", and "new" with a comment and
// blanks added, one rule's resolution changed, one removed, one added and one
// moved from one included file to another.
struct CliDiff : ::testing::Test {
  void SetUp() override {
    root.write("styles/old/options", four_levels);
    root.write("styles/old/lines",
               "include 'inc/a';\ninclude 'inc/b';\n"
               "highway=primary [0x03 resolution 20]\n"
               "highway=track [0x0a resolution 22]\n"
               "highway=path [0x16 resolution 24]\n"
               "highway=path [0x16 resolution 22]\n"
               "waterway=stream [0x18 resolution 23]\n");
    root.write("styles/old/inc/a", "railway=rail [0x14 resolution 19]\n");
    root.write("styles/old/inc/b", "natural=coastline [0x15 resolution 16]\n");
    root.write("styles/new/options", four_levels);
    root.write("styles/new/lines",
               "include 'inc/a';\ninclude 'inc/b';\n"
               "# main roads first\n"
               "highway=primary\t [0x03  resolution 20] # trunk roads too\n"
               "highway=track [0x0a resolution 20]\n"
               "highway=path [0x16 resolution 24]\n"
               "highway=path [0x16 resolution 20]\n"
               "highway=service [0x07 resolution 23]\n");
    root.write("styles/new/inc/a", "# nothing drawn here now\n");
    root.write("styles/new/inc/b",
               "natural=coastline [0x15 resolution 16]\nrailway=rail [0x14 resolution 19]\n");
  }
  test::CliResult diff(std::vector<std::string> args) {
    for (auto& a : args)
      if (a == "OLD" || a == "NEW") a = root.at("styles/" + text::lower(a));
    args.insert(args.begin(), "diff");
    args.insert(args.end(), {"--system-dir", root.at("system")});
    return test::run_cli(args);
  }
  test::TempDir root;
};

TEST_F(CliDiff, ListsTheRulesDrawnAtOtherLevels) {
  auto r = diff({"OLD", "NEW", "--kind", "lines", "--inc"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.err, "");
  // The second "path" pairs with the second; the rule that moved to another
  // included file, and the one that gained blanks and a comment, are the same.
  EXPECT_EQ(r.out,
            "moved\tlines\t4\t5\t0-1\t0-2\t0A\thighway=track [0x0a resolution 20]\n"
            "moved\tlines\t6\t7\t0-1\t0-2\t16\thighway=path [0x16 resolution 20]\n"
            "old-only\tlines\t7\t-\t0\t-\t18\twaterway=stream [0x18 resolution 23]\n"
            "new-only\tlines\t-\t8\t-\t0\t07\thighway=service [0x07 resolution 23]\n"
            "summary\tlines\t4\t2\t1\t1\n");

  // Without --inc the included files are not read; without --kind every kind is compared.
  r = diff({"OLD", "OLD"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(
      r.out,
      "summary\tpolygons\t0\t0\t0\t0\nsummary\tlines\t5\t0\t0\t0\nsummary\tpoints\t0\t0\t0\t0\n");
}

TEST_F(CliDiff, ComparesWhatEachStyleDrawsWithItsOwnLevels) {
  root.write("styles/old/lines",
             "highway=a [0x01 resolution 23]\nhighway=b [0x02 resolution 21]\n");
  // A finer level table: level 0 is still 24 alone, level 2 now reaches 22.
  root.write("styles/new/options", "levels = 0:24, 1:23, 2:22, 3:20\n");
  root.write("styles/new/lines", "highway=a [0x01 level 0]\nhighway=b [0x02 level 2]\n");
  auto r = diff({"OLD", "NEW", "--kind", "lines"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_EQ(r.out,
            "levels\tLevels:0:24,1:22,2:20,3:18 + \tLevels:0:24,1:23,2:22,3:20 + \n"
            "moved\tlines\t2\t2\t0-1\t0-2\t02\thighway=b [0x02 level 2]\n"
            "summary\tlines\t1\t1\t0\t0\n");
}

// A style whose options or included file cannot be read is not compared: its
// rules would show as moved or removed.
TEST_F(CliDiff, AFileThatCannotBeReadStopsTheComparison) {
  for (const char* file : {"styles/new/options", "styles/new/inc/b"}) {
    SetUp();
    // Larger than the program reads, without writing its bytes.
    std::filesystem::resize_file(root.at(file), static_cast<std::uintmax_t>(max_read_bytes + 1));
    auto r = diff({"OLD", "NEW", "--kind", "lines", "--inc"});
    EXPECT_EQ(r.status, 2) << file;
    EXPECT_NE(r.err.find(root.at(file)), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << file;
  }
}

TEST_F(CliDiff, ExitStatusesAndUsage) {
  root.write("styles/bare/lines", "highway=a [0x01 resolution 20]\n");
  const struct {
    std::vector<std::string> args;
    const char* err_start;
  } cases[] = {
      {{"OLD"}, "zoomwright-cli diff: give the old and the new style directory\nusage:\n  diff "},
      {{"OLD", "NEW", "--kind", "roads"}, "zoomwright-cli diff: --kind must be"},
      {{"OLD", "NEW", "--sort"}, "zoomwright-cli diff: unknown option --sort"},
      {{"OLD", "NEW", "--out", "diff.jpg"}, "message: Format not supported\n"},
      {{"OLD", root.at("styles/missing")}, "message: Cannot find style's options file"},
      {{root.at("styles/bare"), "NEW"}, "message: Cannot find style's options file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.front() + " " + (c.args.size() > 1 ? c.args[1] : ""));
    auto r = diff(c.args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(text::starts_with(r.err, c.err_start)) << r.err;
  }
  auto help = diff({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_TRUE(text::starts_with(help.out, "usage:\n  diff OLD_STYLE NEW_STYLE")) << help.out;
  for (const char* column : {"CLASS KIND OLD_LINE NEW_LINE OLD_DRAWN NEW_DRAWN TYPE RULE_TEXT",
                             "summary KIND SAME MOVED OLD_ONLY NEW_ONLY", "old-only", "new-only"})
    EXPECT_TRUE(text::contains(help.out, column)) << column;
}

// The bars of one colour on the image: each run of pixel rows that holds the
// colour, with the leftmost and rightmost pixel of it.
struct Band {
  int top, left, right;
  bool old_colour;
};

std::vector<Band> bands(const QImage& image) {
  std::vector<Band> out;
  for (bool old_colour : {true, false}) {
    Colour c = old_colour ? old_bar_colour : new_bar_colour;
    QRgb want = qRgb(c.r, c.g, c.b);
    bool inside = false;
    for (int y = 0; y < image.height(); ++y) {
      int left = -1, right = -1;
      for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) {
          if (left < 0) left = x;
          right = x;
        }
      if (left >= 0 && !inside) out.push_back({y, left, right, old_colour});
      if (left >= 0) {
        out.back().left = std::min(out.back().left, left);
        out.back().right = std::max(out.back().right, right);
      }
      inside = left >= 0;
    }
  }
  std::sort(out.begin(), out.end(), [](const Band& a, const Band& b) { return a.top < b.top; });
  return out;
}

TEST_F(CliDiff, PictureShowsTheOldBarAboveTheNew) {
  auto r = diff({"OLD", "NEW", "--kind", "lines", "--inc", "--out", root.at("diff.png")});
  ASSERT_EQ(r.status, 1) << r.err;
  QImage image(QString::fromStdString(root.at("diff.png")));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 1000);  // the chart's default pane, 15000 twips

  auto found = bands(image);
  std::string order;
  for (const auto& b : found) order += b.old_colour ? 'o' : 'n';
  // The legend, then track and path (moved: both bars), stream (old only) and
  // service (new only).
  ASSERT_EQ(order, "onononon");
  const Band &old_track = found[2], &new_track = found[3];
  // Resolution 22 against 20: the new bar starts two columns further left,
  // both reach 24 and end in a stop tick.
  EXPECT_GT(old_track.left, new_track.left);
  EXPECT_EQ(old_track.right, new_track.right);
  EXPECT_EQ(found[6].right, old_track.right);
  int column = (old_track.left - new_track.left) / 2;
  EXPECT_NEAR(found[6].left, old_track.left + column, 1);  // 23 against 22
  EXPECT_LT(found[1].top - found[0].top, new_track.top - old_track.top + 30);

  // Written as chart writes images: an existing one is not replaced without
  // Yes, and a picture not written is trouble, not a difference.
  EXPECT_EQ(diff({"OLD", "NEW", "--out", root.at("diff.bmp")}).status, 1);
  EXPECT_EQ(root.read("diff.bmp").substr(0, 2), "BM");
  auto again = diff({"OLD", "NEW", "--kind", "lines", "--out", root.at("diff.png")});
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err, "message: Replace file?\\r\\n\\r\\n" + root.at("diff.png") + "\n");
}

// Every rule is compared, however many a style has, and a comparison taller
// than a canvas is held whole is drawn band by band, every rule with its bars,
// down to the last: all but one rule far down the file move.
TEST_F(CliDiff, EveryRuleOfABigStyleIsComparedAndDrawn) {
  constexpr int rules = 1200;
  std::string old_rules, new_rules;
  for (int i = 1; i <= rules; ++i) {
    auto rule = "a=" + std::to_string(i) + " [0x01 resolution ";
    old_rules += rule + "20]\n";
    new_rules += rule + (i == 901 ? "20]\n" : "22]\n");
  }
  root.write("styles/old/lines", old_rules);
  root.write("styles/new/lines", new_rules);
  auto r = diff({"OLD", "NEW", "--kind", "lines", "--out", root.at("many.png")});
  ASSERT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(r.out.ends_with("\nsummary\tlines\t1\t1199\t0\t0\n")) << r.out.substr(0, 200);
  EXPECT_FALSE(text::contains(r.out, "a=901 ")) << "the unchanged rule is listed";
  EXPECT_TRUE(text::contains(r.out, "moved\tlines\t1200\t1200\t0-2\t0-1\t01\ta=1200 "));
  QImageReader::setAllocationLimit(512);  // MB: the picture is taller than Qt reads by default
  QImage image(QString::fromStdString(root.at("many.png")));
  ASSERT_FALSE(image.isNull());
  auto found = bands(image);
  ASSERT_EQ(found.size(), 2 + 2u * (rules - 1));
  EXPECT_FALSE(found.back().old_colour);
  EXPECT_GT(found.back().top, image.height() - 200);
}

// mkgmap's default style against the copy that convert writes of it: the copy
// keeps every rule, and a rule whose resolutions are those of levels keeps
// its levels. Which other rules move is the conversion's business; the diff
// and convert's own summary must agree on it.
TEST(CliDiffReal, DefaultStyleAgainstItsConvertedCopy) {
  test::TempDir dir;
  test::unpack_default_style(dir);
  if (::testing::Test::HasFatalFailure()) return;
  auto style = dir.at("styles/default");
  auto sys = dir.at("system");
  auto converted = test::run_cli({"convert", style, "levels", "--system-dir", sys});
  ASSERT_EQ(converted.status, 0) << converted.err;
  auto copy = dir.at("styles/levels");

  auto same = test::run_cli({"diff", style, style, "--inc", "--system-dir", sys});
  EXPECT_EQ(same.status, 0) << same.err;
  auto r = test::run_cli({"diff", style, copy, "--inc", "--system-dir", sys});
  ASSERT_NE(r.status, 2) << r.err;

  // Every rule of the source is found in the copy, in its place: each line
  // is a moved rule, and the summaries count every row of the analysis.
  std::array<int, rule_changes> totals{};
  std::set<std::string> moved;  // kind and line
  for (const auto& line : text::split(r.out, "\n")) {
    auto f = text::split(line, "\t");
    if (line.empty()) continue;
    if (f.size() == 6 && f[0] == "summary") {
      for (std::size_t i = 0; i < totals.size(); ++i) totals[i] += std::stoi(f[i + 2]);
      continue;
    }
    ASSERT_EQ(f.size(), 8u) << line;
    EXPECT_TRUE(f[0] == "moved" && f[2] == f[3]) << line;
    moved.insert(f[1] + " " + f[2]);
  }
  EXPECT_EQ(totals[2] + totals[3], 0);
  EXPECT_EQ(r.status, totals[1] > 0 ? 1 : 0);
  // convert's last line, computed the same way.
  EXPECT_TRUE(converted.err.ends_with("message: " + levels_kept_summary(totals) + "\n"))
      << converted.err;

  // Rules that start and end at resolutions of levels are drawn as before.
  const std::set<int> level_resolutions{24, 22, 20, 18};
  int rows = 0;
  for (const char* kind : {"polygons", "lines", "points"}) {
    auto a =
        test::run_cli({"analyse", style, "--kind", kind, "--all", "--inc", "--system-dir", sys});
    for (const auto& line : text::split(a.out, "\n")) {
      auto f = text::split(line, "\t");
      if (f.size() < 6) continue;
      ++rows;
      bool exact =
          level_resolutions.count(std::stoi(f[1])) && level_resolutions.count(std::stoi(f[2]));
      EXPECT_FALSE(exact && moved.count(kind + (" " + f[0]))) << kind << ": " << line;
    }
  }
  EXPECT_EQ(totals[0] + totals[1], rows);
}

}  // namespace
}  // namespace zw
