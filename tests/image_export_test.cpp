#include <gtest/gtest.h>

#include "chart/image_export.h"
#include "support/failing_fs.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::RecordingSurface;
using test::TestApp;

TEST(ImageNamesTest, EachFrontEndWritesTheNamesItsRuleAllows) {
  struct Case {
    ImageNames rule;
    std::string chosen;
    std::optional<std::string> path;
    ImageFormat format = ImageFormat::bmp;
  } cases[] = {
      {ImageNames::save_image, "chart", "chart.bmp"},
      {ImageNames::save_image, "CHART.BMP", "CHART.BMP"},
      {ImageNames::save_image, "chart.png", "chart.png", ImageFormat::png},
      {ImageNames::save_image, "chart.jpg", std::nullopt},
      {ImageNames::save_image, "/home/me/my.charts/chart", std::nullopt},
      {ImageNames::save_image, "chart.bmp.txt", "chart.bmp.txt"},
      {ImageNames::bmp_or_png, "chart.png", "chart.png", ImageFormat::png},
      {ImageNames::bmp_or_png, "CHART.PNG", "CHART.PNG", ImageFormat::png},
      {ImageNames::bmp_or_png, "chart.Bmp", "chart.Bmp"},
      {ImageNames::bmp_or_png, "chart.bmp.png", "chart.bmp.png"},  // ".bmp" wins, as in Save Image
      {ImageNames::bmp_or_png, "chart", std::nullopt},
      {ImageNames::bmp_or_png, "chart.png.txt", std::nullopt},
      {ImageNames::bmp_or_png, "chart.jpg", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    auto target = image_target(c.chosen, c.rule);
    ASSERT_EQ(target.has_value(), c.path.has_value());
    if (!target) continue;
    EXPECT_EQ(target->path, *c.path);
    EXPECT_EQ(target->format, c.format);
  }
}

struct SaveImage : ::testing::Test {
  void SetUp() override {
    auto& f = app.s.f1;
    f.p1.set_size(1500, 3000);
    f.p3.set_size(1200, 450);
  }
  std::string file(const std::string& name) { return app.dir.at(name); }
  TestApp app;
};

// Whatever refuses the file refuses it before the image is composed.
TEST_F(SaveImage, RefusesBeforeComposing) {
  test::FailingFileSystem fs;
  fs.read_only_root = file("locked");
  app.host.fs_override = &fs;
  app.dir.write("locked/.keep", "");
  app.dir.write("a folder.bmp/.keep", "");
  // The message names the file as chosen and gives the reason.
  struct Case {
    std::string chosen, message;
  } cases[] = {
      {"", ""},
      {"chart.jpg", "Format not supported"},
      {"no such folder/chart.bmp", file("no such folder/chart.bmp") + " Cannot write"},
      {"a folder.bmp", file("a folder.bmp") + " Cannot write"},
      {"locked/chart.bmp", file("locked/chart.bmp") + " Read-only file system"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    app.host.messages.clear();
    EXPECT_FALSE(save_image(app.s, app.host, c.chosen.empty() ? "" : file(c.chosen)));
    ASSERT_EQ(app.host.messages.size(), c.message.empty() ? 0u : 1u);
    if (!c.message.empty()) {
      EXPECT_EQ(app.host.messages[0].rfind(c.message, 0), 0u) << app.host.messages[0];
    }
    EXPECT_TRUE(app.p4.ops.empty());
  }
  EXPECT_EQ(app.dir.read("chart.jpg"), "");
  EXPECT_EQ(app.dir.read("locked/chart.bmp"), "");
}

// A canvas too large to make leaves no picture; nothing stale is written in
// its place, and a file already there stays as it was.
TEST_F(SaveImage, WritesNothingWhenTheCanvasCouldNotBeMade) {
  app.p1.resize_failure = "Out of memory";
  EXPECT_ANY_THROW(app.s.f1.p1.set_size(750000, 390000));
  app.dir.write("old.bmp", "keep me");
  app.host.answers = {Answer::yes};
  EXPECT_FALSE(save_image(app.s, app.host, file("old.bmp")));
  EXPECT_EQ(app.host.messages.back(), "Cannot save the image " + file("old.bmp") +
                                          ": the chart could not be drawn (Out of memory)");
  EXPECT_EQ(app.dir.read("old.bmp"), "keep me");
  EXPECT_FALSE(save_image(app.s, app.host, file("new.png"), ImageNames::bmp_or_png));
  EXPECT_FALSE(app.host.fs().file_exists(file("new.png")));
}

// The scale labels are controls over the strip; the image shows them as the
// window does, so that it can be read on its own.
TEST_F(SaveImage, TheStripCarriesTheScaleLabelsAsShown) {
  auto& f = app.s.f1;
  f.p3.set_size(750, 450);  // half the canvas width: the labels stretch with the strip
  f.scale_labels_created = true;
  for (auto& l : f.Label3) l.visible = false;
  // x1 and x2 on the image, from a label 100 wide at left.
  struct Want {
    std::size_t resolution;
    int left;
    double x1, x2;
    Colour back, fore;
    std::string caption;
    bool bold;
  } want[] = {
      {20, 300, 600, 800, rgb(224, 224, 224), colours::black, "20", false},
      {22, 400, 800, 1000, rgb(100, 200, 100), colours::dark_red, "22 L1", true},
  };
  for (const auto& w : want) {
    auto& l = f.Label3[w.resolution];
    l.visible = true, l.caption = w.caption, l.bold = w.bold, l.bounds = {w.left, 0, 100, 450};
    l.back = w.back, l.fore = w.fore;
  }
  f.Label3[5].caption = "5";  // hidden: not drawn

  ASSERT_TRUE(save_image(app.s, app.host, file("chart")));
  auto fills = app.p4.of(RecordingSurface::Op::Kind::fill);
  auto texts = app.p4.of(RecordingSurface::Op::Kind::text);
  ASSERT_EQ(fills.size(), 2u);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(app.p4.font, control_font);
  for (int i = 0; i < 2; ++i) {
    const auto& w = want[i];
    SCOPED_TRACE(w.caption);
    EXPECT_EQ((std::vector<double>{fills[i].x1, fills[i].y1, fills[i].x2, fills[i].y2}),
              (std::vector<double>{w.x1, 0, w.x2, 450}));
    EXPECT_EQ(fills[i].colour, w.back);
    EXPECT_EQ(texts[i].text, w.caption);
    EXPECT_EQ(texts[i].colour, w.fore);
    EXPECT_EQ(texts[i].bold, w.bold);
    // Centred in the label (100 twips a character, 200 high).
    EXPECT_DOUBLE_EQ(texts[i].x1, (w.x1 + w.x2 - 100.0 * w.caption.size()) / 2);
    EXPECT_DOUBLE_EQ(texts[i].y1, (450 - 200) / 2.0);
  }
  // Drawn over the strip, before the canvas goes below it.
  using K = RecordingSurface::Op::Kind;
  std::vector<K> order;
  for (const auto& op : app.p4.ops) order.push_back(op.kind);
  EXPECT_EQ(order, (std::vector<K>{K::image, K::fill, K::text, K::fill, K::text, K::image}));
  EXPECT_FALSE(app.p4.bold());
}

}  // namespace
}  // namespace zw
