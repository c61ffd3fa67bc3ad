#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/qt/raster_surface.h"
#include "platform/qt/raster_text.h"
#include "qt_app.h"

namespace zw {
namespace {

using qt::RasterSurface;
using Colours = std::vector<Colour>;

struct Raster : ::testing::Test {
  void SetUp() override { test::ensure_qt_app(); }
};

TEST_F(Raster, SizeInTwipsBecomesPixelsAtTheGivenScale) {
  struct Case { double tpp; int w, h, px_w, px_h; } cases[] = {{12, 1500, 600, 125, 50}, {15, 0, 0, 0, 0}};
  for (const auto& c : cases) {
    RasterSurface s(c.tpp);
    s.resize(c.w, c.h);
    EXPECT_EQ(s.qimage().width(), c.px_w) << c.tpp;
    EXPECT_EQ(s.qimage().height(), c.px_h) << c.tpp;
    EXPECT_EQ(s.scale_width(), c.w);
    s.set_pixel_scale(true);
    EXPECT_EQ(s.scale_width(), c.px_w);
  }
}

TEST_F(Raster, FillsAndLinesLandOnTheirPixels) {
  RasterSurface s(15);
  s.resize(1500, 1500);  // 100 x 100 pixels
  s.clear(colours::white);
  s.fill_rect(150, 300, 450, 330, rgb(0, 128, 0));  // x 10..29, y 20..21
  s.line(900, 0, 900, 1500, rgb(220, 220, 220));    // x 60
  Image img = s.image();
  ASSERT_EQ(img.width, 100);
  // Far edges exclusive.
  EXPECT_EQ((Colours{img.at(10, 20), img.at(29, 21), img.at(30, 20), img.at(10, 22), img.at(60, 50), img.at(61, 50)}),
            (Colours{rgb(0, 128, 0), rgb(0, 128, 0), colours::white, colours::white, rgb(220, 220, 220), colours::white}));

  // In pixel scale the same call means pixels.
  s.set_pixel_scale(true);
  s.fill_rect(0, 0, 2, 2, colours::red);
  img = s.image();
  EXPECT_EQ(img.at(1, 1), colours::red);
  EXPECT_EQ(img.at(2, 2), colours::white);

  // Outside the picture nothing happens, and nothing breaks.
  s.fill_rect(-50, -50, -10, -10, colours::red);
  s.fill_rect(500, 500, 1e12, 1e12, colours::red);
  EXPECT_EQ(s.image().at(99, 99), colours::white);
}

// Fills are written straight into the pixels; they must come out exactly as a
// painter's fill of the same rectangle would.
TEST_F(Raster, FillsMatchAPaintersFillPixelForPixel) {
  struct Case {
    double x1, y1, x2, y2;  // twips
  } cases[] = {{0, 0, 1500, 1500},       {150, 300, 450, 330},  {452, 7, 460, 9},
               {1400, 1400, 1e12, 1e12}, {-300, 20, 40, 1000},  {800, 900, 700, 100},
               {1499, 1499, 1500, 1500}, {33.3, 66.6, 99.9, 133.2}};
  RasterSurface s(15);
  s.resize(1500, 1500);  // 100 x 100 pixels
  s.clear(colours::white);
  QImage expected(100, 100, QImage::Format_RGB32);
  expected.fill(QColor(255, 255, 255));
  int k = 0;
  for (const auto& c : cases) {
    Colour colour = rgb(10 * k, 255 - 20 * k, 7 * k);
    s.fill_rect(c.x1, c.y1, c.x2, c.y2, colour);
    int x1 = static_cast<int>(std::floor(std::min(c.x1, c.x2) / 15));
    int x2 = static_cast<int>(std::floor(std::min(std::max(c.x1, c.x2) / 15, 1e6)));
    int y1 = static_cast<int>(std::floor(std::min(c.y1, c.y2) / 15));
    int y2 = static_cast<int>(std::floor(std::min(std::max(c.y1, c.y2) / 15, 1e6)));
    QPainter p(&expected);
    p.fillRect(QRect(QPoint(x1, y1), QSize(std::max(1, x2 - x1), std::max(1, y2 - y1))),
               QColor(colour.r, colour.g, colour.b));
    ++k;
  }
  EXPECT_EQ(s.qimage(), expected);
}

// The surface keeps its painter between calls; a copy of its picture taken
// meanwhile must keep what it showed, and later drawing must reach the surface.
TEST_F(Raster, ACopyOfThePictureIsNotDrawnOnLater) {
  using Draw = void (*)(RasterSurface&);
  Draw draws[] = {
      [](RasterSurface& s) { s.fill_rect(0, 0, 1500, 1500, colours::red); },
      [](RasterSurface& s) { s.line(0, 750, 1500, 750, colours::red); },
      [](RasterSurface& s) {
        s.move_to(0, 0);
        s.print("WWW");
      },
      [](RasterSurface& s) { s.clear(colours::red); },
      [](RasterSurface& s) {
        Image red{1, 1, {colours::red}};
        s.paint_image(red, 0, 0, 1500, 1500);
      },
  };
  int k = 0;
  for (Draw draw : draws) {
    RasterSurface s(15);
    s.resize(1500, 1500);
    s.clear(colours::white);
    s.line(0, 0, 1500, 0, colours::blue);  // the painter is now in use
    QImage before = s.qimage();
    QImage kept = before.copy();
    draw(s);
    EXPECT_EQ(before, kept) << k;
    EXPECT_NE(s.qimage(), kept) << k;
    // And once more with the copy gone.
    before = QImage();
    s.clear(colours::white);
    draw(s);
    EXPECT_NE(s.qimage(), kept) << k;
    ++k;
  }
}

// The painter is kept from one call to the next: what a call leaves set on it
// (a pen, a font) must not change what the next call draws. The reference
// draws every step with a painter of its own.
TEST_F(Raster, DrawingMatchesAFreshPainterForEveryStep) {
  RasterSurface s(15);
  s.resize(3000, 1500);  // 200 x 100 pixels
  s.clear(colours::white);
  QImage ref = s.qimage().copy();
  auto text_at = [&](double x, double y, const char* text, Colour fore, bool bold) {
    s.set_bold(bold);
    s.set_fore(fore);
    s.move_to(x, y);
    s.print(text);
    QPainter p(&ref);
    p.setFont(s.font());
    p.setPen(QColor(fore.r, fore.g, fore.b));
    p.drawText(QPointF(x / 15, y / 15 + QFontMetrics(s.font(), &ref).ascent()), text);
  };
  auto line_at = [&](int x, Colour c) {
    s.line(x * 15, 0, x * 15, 1500, c);
    QPainter p(&ref);
    p.setPen(QPen(QColor(c.r, c.g, c.b), 0));
    p.drawLine(QPoint(x, 0), QPoint(x, 100));
  };
  Image swatch{2, 2, {colours::red, colours::blue, colours::blue, colours::red}};
  text_at(150, 150, " 16", colours::black, true);
  line_at(40, rgb(220, 220, 220));
  text_at(600, 150, "0x02 lines:12", rgb(90, 90, 140), false);
  s.paint_image(swatch, 1500, 600, 450, 450);
  {
    QPainter p(&ref);
    p.drawImage(QRect(100, 40, 30, 30), qt::to_qimage(swatch));
  }
  text_at(150, 900, "highway=primary & ref=*", colours::black, false);
  line_at(41, colours::black);
  text_at(1800, 1050, "WWW", colours::red, true);
  EXPECT_EQ(s.qimage(), ref);
}

TEST_F(Raster, ClearFillsAndHomesThePosition) {
  RasterSurface s(15);
  s.resize(300, 300);
  s.move_to(100, 100);
  s.clear(colours::button_face);
  EXPECT_TRUE(s.current_x() == 0 && s.current_y() == 0);
  EXPECT_EQ(s.image().at(19, 19), colours::button_face);
  // A larger picture box keeps its drawing and shows the background beyond it.
  s.fill_rect(0, 0, 15, 15, colours::blue);
  s.resize(600, 300);
  EXPECT_EQ(s.image().at(0, 0), colours::blue);
  EXPECT_EQ(s.image().at(39, 0), colours::button_face);
}

TEST_F(Raster, TextIsMeasuredInTheCanvasFontAndPrintedBelowThePosition) {
  RasterSurface s(15);
  s.resize(3000, 1500);
  s.clear(colours::white);
  // Arial 10 pt at 96 dpi: about 15 pixels high.
  double th = s.text_height("X"), w_wide = s.text_width("WWW");
  EXPECT_TRUE(th > 180 && th < 260) << th;
  EXPECT_LT(s.text_width("iii"), w_wide);
  s.set_bold(true);
  EXPECT_TRUE(s.bold());
  EXPECT_GE(s.text_width("WWW"), w_wide);
  s.set_bold(false);
  s.set_font("Arial", 20);
  EXPECT_GT(s.text_height("X"), 1.8 * th);
  s.set_font("Arial", 10);

  s.set_fore(colours::black);
  s.move_to(150, 300);
  s.print("WWW");
  EXPECT_NEAR(s.current_x(), 150 + w_wide, 0.01);
  EXPECT_EQ(s.current_y(), 300);
  s.print("", true);
  EXPECT_EQ(s.current_x(), 0);
  EXPECT_NEAR(s.current_y(), 300 + th, 0.01);

  // Ink only between the top of the text and its line height, right of x.
  Image img = s.image();
  int ink_top = img.height, ink_left = img.width;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.at(x, y) != colours::white) ink_top = std::min(ink_top, y), ink_left = std::min(ink_left, x);
  EXPECT_TRUE(ink_top >= 20 && ink_top < 20 + 6) << ink_top;
  EXPECT_TRUE(ink_left >= 10 && ink_left < 10 + 3) << ink_left;
}

TEST_F(Raster, PaintsAnImageStretchedIntoARectangle) {
  RasterSurface swatch(15), canvas(15);
  swatch.resize(30, 30);  // 2 x 2 pixels
  swatch.set_pixel_scale(true);
  swatch.clear(colours::white);
  swatch.fill_rect(0, 0, 1, 1, colours::red);
  swatch.fill_rect(1, 1, 2, 2, colours::blue);

  canvas.resize(1500, 1500);
  canvas.clear(colours::white);
  canvas.paint_image(swatch.image(), 150, 150, 600, 600);  // 40 x 40 at (10, 10)
  Image img = canvas.image();
  EXPECT_EQ((Colours{img.at(10, 10), img.at(29, 29), img.at(30, 30), img.at(49, 49), img.at(49, 10), img.at(50, 50)}),
            (Colours{colours::red, colours::red, colours::blue, colours::blue, colours::white, colours::white}));
  canvas.paint_image(Image{}, 0, 0, 600, 600);  // an empty picture paints nothing
  EXPECT_EQ(canvas.image().at(0, 0), colours::white);
}

}  // namespace
}  // namespace zw
