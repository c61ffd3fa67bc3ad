#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/qt/raster_surface.h"
#include "platform/qt/raster_text.h"

namespace zw {
namespace {

using qt::RasterSurface;
using Colours = std::vector<Colour>;

using Raster = ::testing::Test;

// Fills are written straight into the pixels; they must come out exactly as a
// painter's fill of the same rectangle would.
TEST_F(Raster, FillsMatchAPaintersFillPixelForPixel) {
  struct Case {
    double x1, y1, x2, y2;  // twips
  } cases[] = {{0, 0, 1500, 1500},       {150, 300, 450, 330},     {452, 7, 460, 9},
               {1400, 1400, 1e12, 1e12}, {-300, 20, 40, 1000},     {800, 900, 700, 100},
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

}  // namespace
}  // namespace zw
