#include "platform/qt/raster_surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/qt/raster_text.h"
#include "platform/qt/twips.h"

namespace zw::qt {
namespace {

// Large enough for a tall chart, small enough that a wild size cannot exhaust memory.
constexpr int max_side_px = 32000;

QColor to_qcolor(Colour c) { return QColor(c.r, c.g, c.b); }

int side(int twips, double tpp) { return std::clamp(to_pixels(twips, tpp), 0, max_side_px); }

}  // namespace

RasterSurface::RasterSurface(double twips_per_pixel)
    : tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15.0), font_("Arial") {
  font_.setPointSizeF(10);
}

void RasterSurface::resize(int width_twips, int height_twips) {
  width_twips_ = width_twips;
  int w = side(width_twips, tpp_), h = side(height_twips, tpp_);
  if (w == image_.width() && h == image_.height()) return;
  QImage next(w, h, QImage::Format_RGB32);
  // Fonts are sized in points: the image's resolution is the screen's.
  int dots_per_metre = static_cast<int>(std::lround(1440.0 / tpp_ / 0.0254));
  next.setDotsPerMeterX(dots_per_metre);
  next.setDotsPerMeterY(dots_per_metre);
  next.fill(to_qcolor(back_));
  if (!image_.isNull() && w > 0 && h > 0) {
    QPainter p(&next);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
}

void RasterSurface::clear(Colour back) {
  back_ = back;
  image_.fill(to_qcolor(back));
  x_ = y_ = 0;
}

double RasterSurface::scale_width() const {
  return pixels_ ? static_cast<double>(image_.width()) : width_twips_;
}

void RasterSurface::fill_rect(double x1, double y1, double x2, double y2, Colour c) {
  if (image_.isNull()) return;
  QPainter p(&image_);
  QRectF r(QPointF(to_px(x1), to_px(y1)), QPointF(to_px(x2), to_px(y2)));
  p.fillRect(r.normalized(), to_qcolor(c));
}

void RasterSurface::line(double x1, double y1, double x2, double y2, Colour c) {
  if (image_.isNull()) return;
  QPainter p(&image_);
  p.setPen(QPen(to_qcolor(c), 0));
  p.drawLine(QPointF(to_px(x1), to_px(y1)), QPointF(to_px(x2), to_px(y2)));
}

void RasterSurface::set_font(const std::string& name, double points) {
  bool bold = font_.bold();
  font_ = QFont(to_qstring(name));
  font_.setPointSizeF(points > 0 ? points : 1);
  font_.setBold(bold);
}

double RasterSurface::text_width(const std::string& text) {
  QFontMetricsF fm(font_, &image_);
  return from_px(fm.horizontalAdvance(to_qstring(text)));
}

double RasterSurface::text_height(const std::string&) {
  QFontMetricsF fm(font_, &image_);
  return from_px(fm.height());
}

void RasterSurface::print(const std::string& text, bool new_line) {
  auto shown = to_qstring(text);
  QFontMetricsF fm(font_, &image_);
  if (!image_.isNull()) {
    QPainter p(&image_);
    p.setFont(font_);
    p.setPen(to_qcolor(fore_));
    p.drawText(QPointF(to_px(x_), to_px(y_) + fm.ascent()), shown);
  }
  if (new_line) {
    x_ = 0;
    y_ += from_px(fm.height());
  } else {
    x_ += from_px(fm.horizontalAdvance(shown));
  }
}

Image RasterSurface::image() const {
  Image out;
  out.width = image_.width();
  out.height = image_.height();
  out.pixels.reserve(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {
    auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    for (int x = 0; x < out.width; ++x)
      out.pixels.push_back(rgb(qRed(row[x]), qGreen(row[x]), qBlue(row[x])));
  }
  return out;
}

void RasterSurface::paint_image(const Image& picture, double x, double y, double width,
                               double height) {
  if (image_.isNull() || picture.width <= 0 || picture.height <= 0) return;
  auto count = static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  if (picture.pixels.size() < count) return;
  QImage source(picture.width, picture.height, QImage::Format_RGB32);
  for (int row = 0; row < picture.height; ++row) {
    auto* line = reinterpret_cast<QRgb*>(source.scanLine(row));
    for (int col = 0; col < picture.width; ++col) {
      auto c = picture.pixels[static_cast<std::size_t>(row) * picture.width + col];
      line[col] = qRgb(c.r, c.g, c.b);
    }
  }
  QPainter p(&image_);
  p.drawImage(QRectF(to_px(x), to_px(y), to_px(width), to_px(height)), source);
}

}  // namespace zw::qt
