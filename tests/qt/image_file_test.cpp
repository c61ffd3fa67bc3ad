#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cstdint>

#include "base/failure.h"
#include "platform/qt/raster_surface.h"

namespace zw {
namespace {

using qt::RasterSurface;

std::uint32_t u32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
  return v;
}

QImage decoded(const std::string& file) {
  QByteArray bytes(file.data(), static_cast<qsizetype>(file.size()));
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer);
  QImage image = reader.read();
  EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
  return image.convertToFormat(QImage::Format_RGB32);
}

// The QApplication these need is the one window_test.cpp makes for the binary.
using ImageFiles = ::testing::Test;

// A chart-like picture in pixels: repeated rows, a bar, text and a lone pixel.
void draw_chart_like(RasterSurface& s, int w, int h) {
  s.resize(w * 15, h * 15);
  s.clear(colours::white);
  s.set_pixel_scale(true);
  s.fill_rect(2, 3, w - 1, 5, rgb(128, 0, 0));
  s.fill_rect(w / 2, 0, w / 2 + 1, h, rgb(220, 220, 220));
  s.fill_rect(w - 1, h - 1, w, h, rgb(1, 2, 3));
  s.set_fore(rgb(90, 90, 140));
  s.move_to(1, h / 2);
  s.print("0x1e 12");
  s.set_pixel_scale(false);
}

TEST_F(ImageFiles, BitmapHeadersRowsAndPaddingAreStandard) {
  for (int w : {1, 2, 5, 33}) {
    SCOPED_TRACE(w);
    RasterSurface s(15);
    draw_chart_like(s, w, 7);
    auto b = s.encode(ImageFormat::bmp);
    std::size_t stride = (static_cast<std::size_t>(w) * 3 + 3) / 4 * 4;
    ASSERT_EQ(b.size(), 54 + stride * 7);
    EXPECT_EQ(b.substr(0, 2), "BM");
    // File size, data offset, info size, width, height (positive: bottom-up), planes
    // and bits, data size, 96 dots per inch.
    std::pair<std::size_t, std::uint32_t> fields[] = {
        {2, static_cast<std::uint32_t>(b.size())},    {10, 54},   {14, 40},
        {18, static_cast<std::uint32_t>(w)},          {22, 7},    {26, 1 | 24 << 16},
        {34, static_cast<std::uint32_t>(stride * 7)}, {38, 3780}, {42, 3780}};
    for (auto [at, v] : fields) EXPECT_EQ(u32(b, at), v) << at;
    Image img = s.image();
    for (int y = 0; y < 7; ++y) {
      std::string want;
      for (int x = 0; x < w; ++x) {
        Colour p = img.at(x, y);
        want += {static_cast<char>(p.b), static_cast<char>(p.g), static_cast<char>(p.r)};
      }
      want.resize(stride, '\0');
      EXPECT_EQ(b.substr(54 + stride * static_cast<std::size_t>(6 - y), stride), want) << y;
    }
  }
}

TEST_F(ImageFiles, PngReadsBackAsTheBitmapsPixels) {
  // Runs of repeated rows, short and long, at the start, in the middle and at
  // the end, in rows of 3 bytes up to 18,000: shorter than one copy of 258,
  // exactly one, one and 2 left over, one and 5 left over, many.
  struct Case {
    int w, h;
  } cases[] = {{1, 1},    {1, 50},   {1, 6000}, {2, 9},     {40, 30},
               {86, 200}, {87, 200}, {88, 200}, {333, 120}, {6000, 8}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.w);
    RasterSurface s(15);
    draw_chart_like(s, c.w, c.h);
    auto png = s.encode(ImageFormat::png);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    QImage a = decoded(png), b = decoded(s.encode(ImageFormat::bmp));
    EXPECT_EQ(a.size(), QSize(c.w, c.h));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.dotsPerMeterX(), 3780);
  }
}

// How the chart image was composed before the canvas was kept by reference:
// the strip and the canvas painted as copies into a picture of the whole size.
Image painted(const RasterSurface& p3, const RasterSurface& p1, double tpp, int w1, int h3,
              int h1) {
  RasterSurface p4(tpp);
  p4.resize(w1, h3 + h1);
  p4.paint_image(p3.image(), 0, 0, w1, h3);
  p4.paint_image(p1.image(), 0, h3, w1, h1);
  return p4.image();
}

TEST_F(ImageFiles, StackingGivesThePaintedPictureAndKeepsTheCanvasByReference) {
  struct Case {
    double tpp;
    int w1, h1;
    bool in_place;
  } cases[] = {
      {15, 15000, 6338, true},   // the batch chart's common case
      {15, 15000, 6000, true},   //
      {15, 15000, 6335, false},  // the canvas lands one row taller: painted, stretched
      {15, 15010, 6338, false},  // a width between pixels: painted, one column narrower
      {12, 15000, 6338, true},   // another screen
      {15, 1500, 0, false},      // no canvas
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.tpp << " " << c.w1 << "x" << c.h1);
    RasterSurface p1(c.tpp), p3(c.tpp), p4(c.tpp);
    p1.resize(c.w1, c.h1);
    p1.clear(colours::white);
    for (int y = 0; y < c.h1; y += 400) p1.fill_rect(600, y, 9000, y + 30, rgb(0, y % 256, 0));
    p3.resize(c.w1, 400);
    p3.clear(rgb(224, 224, 224));
    p3.fill_rect(3000, 0, 3000, 400, colours::black);
    Image want = painted(p3, p1, c.tpp, c.w1, 400, c.h1);

    p4.resize(c.w1, 400);
    p4.paint_surface(p3, 0, 0, c.w1, 400);
    p4.stack(p1, c.w1, 400, c.h1);
    Image got = p4.image();
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    EXPECT_TRUE(got.pixels == want.pixels);
    EXPECT_EQ(p4.encode(ImageFormat::bmp).size(),
              54 + (static_cast<std::size_t>(want.width) * 3 + 3) / 4 * 4 * want.height);
    int band_top = static_cast<int>(400 / c.tpp);
    bool shared =
        c.h1 > 0 && p4.row(band_top) == reinterpret_cast<const QRgb*>(p1.qimage().constScanLine(0));
    EXPECT_EQ(shared, c.in_place);

    // The canvas drawn on afterwards leaves the composed picture as it was.
    p1.fill_rect(0, 0, c.w1, c.h1, colours::red);
    p1.clear(colours::blue);
    EXPECT_TRUE(p4.image().pixels == want.pixels);
    // Drawn on itself, or made small for a swatch, it keeps what it shows.
    p4.fill_rect(0, 0, 15, 15, colours::red);
    Image drawn = p4.image();
    want.pixels[0] = colours::red;
    EXPECT_TRUE(drawn.pixels == want.pixels);
    p4.resize(450, 450);
    EXPECT_EQ(p4.image().at(0, 0), colours::red);
    EXPECT_EQ(p4.image().at(20, 20), want.at(20, 20));
  }
}

// The error it reports, and no file from it: Surfaces.ImageFilesOfThePicture.
TEST_F(ImageFiles, APictureTooLargeToMakeLeavesNoneBehind) {
  RasterSurface s(15);
  s.resize(1500, 1500);
  s.clear(colours::red);
  s.fill_rect(0, 0, 1500, 1500, colours::blue);
  EXPECT_THROW(s.resize(50000 * 15, 2010 * 15), RunError);  // 100.5 million pixels
  EXPECT_TRUE(s.qimage().isNull());
  s.fill_rect(0, 0, 1500, 1500, colours::black);  // nothing to draw on, and no failure
  s.resize(1500, 1500);
  EXPECT_EQ(s.image().at(50, 50), colours::red);  // the background, not the old picture
}

}  // namespace
}  // namespace zw
