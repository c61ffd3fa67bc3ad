// The drawing surfaces the platform makes for the batch front end (Qt's raster
// on Linux, GDI on Windows): the same behaviour from both.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/failure.h"
#include "platform/file_system.h"
#include "platform/raster.h"
#include "support/test_app.h"

namespace zw {
namespace {

using Colours = std::vector<Colour>;

struct Surfaces : ::testing::Test {
  void SetUp() override { raster::prepare(); }
  static std::unique_ptr<Surface> make(double tpp = 15) { return raster::make_surface(tpp); }
};

TEST_F(Surfaces, SizeInTwipsBecomesPixelsAtTheGivenScale) {
  struct Case {
    double tpp;
    int w, h, px_w, px_h;
  } cases[] = {{12, 1500, 600, 125, 50}, {15, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    auto s = make(c.tpp);
    s->resize(c.w, c.h);
    Image img = s->image();
    EXPECT_TRUE(img.width == c.px_w && img.height == c.px_h) << c.tpp;
    EXPECT_EQ(s->scale_width(), c.w);
    s->set_pixel_scale(true);
    EXPECT_EQ(s->scale_width(), c.px_w);
  }
}

TEST_F(Surfaces, FillsAndLinesLandOnTheirPixels) {
  auto s = make();
  s->resize(1500, 1500);  // 100 x 100 pixels
  s->clear(colours::white);
  s->fill_rect(150, 300, 450, 330, rgb(0, 128, 0));  // x 10..29, y 20..21
  s->line(900, 0, 900, 1500, rgb(220, 220, 220));    // x 60
  s->line(0, 1200, 600, 1200, colours::blue);        // y 80, x 0..40
  Image img = s->image();
  ASSERT_EQ(img.width, 100);
  // Far edges of fills exclusive; lines include both ends.
  EXPECT_EQ((Colours{img.at(10, 20), img.at(29, 21), img.at(30, 20), img.at(10, 22), img.at(60, 50),
                     img.at(61, 50), img.at(40, 80), img.at(41, 80)}),
            (Colours{rgb(0, 128, 0), rgb(0, 128, 0), colours::white, colours::white,
                     rgb(220, 220, 220), colours::white, colours::blue, colours::white}));

  // In pixel scale the same call means pixels; a rectangle thinner than a
  // pixel still shows one.
  s->set_pixel_scale(true);
  s->fill_rect(0, 0, 2, 2, colours::red);
  s->fill_rect(5, 5, 5.2, 5.2, colours::red);
  img = s->image();
  EXPECT_EQ((Colours{img.at(1, 1), img.at(2, 2), img.at(5, 5), img.at(6, 6)}),
            (Colours{colours::red, colours::white, colours::red, colours::white}));

  // Outside the picture nothing happens, and nothing breaks.
  s->fill_rect(-50, -50, -10, -10, colours::red);
  s->fill_rect(500, 500, 1e12, 1e12, colours::red);
  s->line(-1e12, -1e12, 1e12, 1e12, colours::red);
  EXPECT_EQ(s->image().at(99, 0), colours::white);
}

TEST_F(Surfaces, ClearFillsAndHomesThePositionAndAResizeKeepsTheDrawing) {
  auto s = make();
  s->resize(300, 300);
  s->move_to(100, 100);
  s->clear(colours::button_face);
  EXPECT_TRUE(s->current_x() == 0 && s->current_y() == 0);
  EXPECT_EQ(s->image().at(19, 19), colours::button_face);
  s->fill_rect(0, 0, 15, 15, colours::blue);
  s->resize(600, 300);
  EXPECT_EQ((Colours{s->image().at(0, 0), s->image().at(39, 0)}),
            (Colours{colours::blue, colours::button_face}));
}

TEST_F(Surfaces, TextIsMeasuredInTheCanvasFontAndPrintedBelowThePosition) {
  auto s = make();
  s->resize(3000, 1500);
  s->clear(colours::white);
  // Arial 10 pt at 96 dpi: about 15 pixels high.
  double th = s->text_height("X"), w_wide = s->text_width("WWW");
  EXPECT_TRUE(th > 180 && th < 260) << th;
  EXPECT_LT(s->text_width("iii"), w_wide);
  s->set_bold(true);
  EXPECT_TRUE(s->bold());
  EXPECT_GE(s->text_width("WWW"), w_wide);
  s->set_bold(false);
  s->set_font("Arial", 20);
  EXPECT_GT(s->text_height("X"), 1.8 * th);
  s->set_font("Arial", 10);
  // A tab moves on to a tab stop: wider than a blank, and no glyph of its own.
  EXPECT_GT(s->text_width("\tx"), s->text_width(" x"));

  s->set_fore(colours::black);
  s->move_to(150, 300);
  s->print("WWW");
  EXPECT_NEAR(s->current_x(), 150 + w_wide, 0.01);
  EXPECT_EQ(s->current_y(), 300);
  s->print("", true);
  EXPECT_EQ(s->current_x(), 0);
  EXPECT_NEAR(s->current_y(), 300 + th, 0.01);

  // Ink only between the top of the text and its line height, right of x.
  Image img = s->image();
  int ink_top = img.height, ink_left = img.width, ink_bottom = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.at(x, y) != colours::white)
        ink_top = std::min(ink_top, y), ink_left = std::min(ink_left, x), ink_bottom = y;
  EXPECT_TRUE(ink_top >= 20 && ink_top < 20 + 6) << ink_top;
  EXPECT_TRUE(ink_left >= 10 && ink_left < 10 + 3) << ink_left;
  EXPECT_LT(ink_bottom, 20 + th / 15) << ink_bottom;
}

TEST_F(Surfaces, PaintsAnImageStretchedIntoARectangle) {
  auto swatch = make(), canvas = make();
  swatch->resize(30, 30);  // 2 x 2 pixels
  swatch->set_pixel_scale(true);
  swatch->clear(colours::white);
  swatch->fill_rect(0, 0, 1, 1, colours::red);
  swatch->fill_rect(1, 1, 2, 2, colours::blue);

  canvas->resize(1500, 1500);
  canvas->clear(colours::white);
  canvas->paint_image(swatch->image(), 150, 150, 600, 600);  // 40 x 40 at (10, 10)
  Image img = canvas->image();
  EXPECT_EQ((Colours{img.at(10, 10), img.at(29, 29), img.at(30, 30), img.at(49, 49), img.at(49, 10),
                     img.at(50, 50)}),
            (Colours{colours::red, colours::red, colours::blue, colours::blue, colours::white,
                     colours::white}));
  // An empty picture, or one partly off the canvas, paints nothing outside it.
  canvas->paint_image(Image{}, 0, 0, 600, 600);
  canvas->paint_image(swatch->image(), 1350, 1350, 600, 600);
  EXPECT_EQ((Colours{canvas->image().at(0, 0), canvas->image().at(99, 99)}),
            (Colours{colours::white, colours::red}));
}

// Both image files of a picture, the bitmap's rows as the picture shows them;
// an empty picture makes no PNG, and a picture that could not be made makes
// no file at all rather than the one it had before.
TEST_F(Surfaces, ImageFilesOfThePicture) {
  auto s = make();
  s->resize(45, 30);  // 3 x 2 pixels
  s->set_pixel_scale(true);
  s->clear(colours::red);
  s->fill_rect(0, 1, 1, 2, colours::blue);
  EXPECT_EQ(s->encode(ImageFormat::png).substr(0, 8), "\x89PNG\r\n\x1a\n");
  auto bmp = s->encode(ImageFormat::bmp);
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  // Bottom row first, blue green red, padded to 12 bytes.
  EXPECT_EQ(bmp.substr(54, 12), std::string("\xff\0\0\0\0\xff\0\0\xff\0\0\0", 12));
  EXPECT_EQ(bmp.substr(66, 12), std::string("\0\0\xff\0\0\xff\0\0\xff\0\0\0", 12));

  EXPECT_THROW(make()->encode(ImageFormat::png), std::exception);
  // A picture box far beyond any screen is refused, not allocated.
  EXPECT_THROW(s->resize(2'000'000'000, 2'000'000'000), RunError);
  EXPECT_EQ(s->picture_error(), "Out of memory");
  EXPECT_THROW(s->encode(ImageFormat::bmp), RunError);
  s->resize(45, 30);
  EXPECT_EQ(s->picture_error(), "");
}

// A tall picture held a band at a time: drawing lands where it does on the
// whole picture, and an image file made band by band is the whole picture.
TEST_F(Surfaces, ATallPictureHeldInBandsDrawsAndWritesAsAWhole) {
  const Colours rows{colours::red, colours::blue, rgb(0, 128, 0), colours::black,
                     rgb(1, 2, 3), colours::white};  // one a pixel row, 2 pixels wide
  for (auto format : {ImageFormat::bmp, ImageFormat::png}) {
    auto s = make();
    ASSERT_TRUE(s->bands());
    StringOutput out;
    auto file = s->start_file(format, 30, 90, out);
    for (int top : {0, 45}) {
      s->set_band(30, top, 45);
      for (int y = 0; y < 6; ++y) s->fill_rect(0, y * 15, 30, y * 15 + 15, rows[y]);
      Image band = s->image();
      ASSERT_EQ(band.height, 3);
      EXPECT_EQ(band.at(1, 0), rows[top / 15]) << top;
      EXPECT_EQ(band.at(1, 2), rows[top / 15 + 2]) << top;
      file->add(*s);
    }
    file->finish();
    if (format == ImageFormat::png) {
      EXPECT_EQ(out.bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
      continue;
    }
    Image whole = test::read_bmp(out.bytes);
    ASSERT_EQ(whole.height, 6);
    for (int y = 0; y < 6; ++y) EXPECT_EQ(whole.at(0, y), rows[y]) << y;
  }
}

}  // namespace
}  // namespace zw
