#include "platform/qt/raster_surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/failure.h"
#include "platform/qt/raster_text.h"

namespace zw::qt {
namespace {

QColor qcolour(Colour c) { return QColor(c.r, c.g, c.b); }

// Pixel index of a coordinate: the pixel the point falls in.
int cell(double pixels) {
  if (!std::isfinite(pixels)) return 0;
  return static_cast<int>(std::floor(std::clamp(pixels, -1e9, 1e9)));
}

// A picture box far beyond any screen would exhaust memory; refuse it.
constexpr long long max_pixels = 100LL * 1000 * 1000;

}  // namespace

RasterSurface::RasterSurface(double twips_per_pixel)
    : tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15) {
  metrics_device_ = blank(1, 1, colours::white);
  set_font("Arial", 10);
}

QImage RasterSurface::blank(int w, int h, Colour back) const {
  QImage img(w, h, QImage::Format_RGB32);
  // Fonts are sized in points; the image's resolution makes a point come out
  // at the binding's twips per pixel (20 twips to the point).
  int dpm = static_cast<int>(std::lround(1440.0 / tpp_ / 0.0254));
  img.setDotsPerMeterX(dpm);
  img.setDotsPerMeterY(dpm);
  img.fill(qcolour(back));
  return img;
}

void RasterSurface::resize(int width_twips, int height_twips) {
  width_ = std::max(0, width_twips);
  height_ = std::max(0, height_twips);
  int w = static_cast<int>(std::lround(width_ / tpp_));
  int h = static_cast<int>(std::lround(height_ / tpp_));
  if (static_cast<long long>(w) * h > max_pixels) fail("Out of memory");
  if (w == image_.width() && h == image_.height()) return;
  // A resized picture box keeps what it shows; new area gets the background.
  QImage next = blank(w, h, back_);
  if (!image_.isNull() && w > 0 && h > 0) {
    QPainter p(&next);
    p.drawImage(0, 0, image_);
  }
  release_painter();
  image_ = next;
  changed();
}

void RasterSurface::clear(Colour back) {
  back_ = back;
  if (!image_.isNull()) {
    if (!image_.isDetached()) release_painter();
    image_.fill(qcolour(back));
  }
  x_ = y_ = 0;
  changed();
}

double RasterSurface::scale_width() const { return pixels_ ? image_.width() : width_; }

void RasterSurface::fill_rect(double x1, double y1, double x2, double y2, Colour c) {
  if (image_.isNull()) return;
  int px1 = cell(px(std::min(x1, x2))), px2 = cell(px(std::max(x1, x2)));
  int py1 = cell(px(std::min(y1, y2))), py2 = cell(px(std::max(y1, y2)));
  // The far edge is exclusive so that neighbouring cells and columns abut;
  // a rectangle thinner than a pixel still shows one.
  QRect r(QPoint(px1, py1), QSize(std::max(1, px2 - px1), std::max(1, py2 - py1)));
  r = r.intersected(image_.rect());
  if (r.isEmpty()) return;
  if (image_.format() == QImage::Format_RGB32) {
    // An opaque fill replaces the pixels; written directly, because a painter
    // set up for every cell of a swatch costs far more than the cell itself.
    QRgb value = qRgb(c.r, c.g, c.b);
    if (!image_.isDetached()) release_painter();
    uchar* bits = image_.bits();  // detaches once, not once per row
    auto stride = static_cast<std::size_t>(image_.bytesPerLine());
    for (int y = r.top(); y <= r.bottom(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(bits + static_cast<std::size_t>(y) * stride);
      std::fill(row + r.left(), row + r.right() + 1, value);
    }
  } else {
    painter().fillRect(r, qcolour(c));
  }
  changed();
}

void RasterSurface::line(double x1, double y1, double x2, double y2, Colour c) {
  if (image_.isNull()) return;
  QPainter& p = painter();
  p.setPen(QPen(qcolour(c), 0));  // cosmetic: one pixel wide
  p.drawLine(QPoint(cell(px(x1)), cell(px(y1))), QPoint(cell(px(x2)), cell(px(y2))));
  changed();
}

void RasterSurface::set_font(const std::string& name, double points) {
  bool was_bold = font_.bold();
  font_ = QFont(to_qstring(name));
  // Whole pixels, as the system's fonts are sized on screen (10 points at 96
  // dots per inch is 13 pixels), so that texts measure as they do there.
  if (std::isfinite(points) && points > 0 && points < 1000)
    font_.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 20 / tpp_))));
  font_.setBold(was_bold);
  advances_.clear();
}

void RasterSurface::set_bold(bool bold) { font_.setBold(bold); }

int RasterSurface::advance(const QString& text) {
  QString key = (font_.bold() ? QLatin1Char('b') : QLatin1Char('r')) + text;
  auto found = advances_.constFind(key);
  if (found != advances_.constEnd()) return *found;
  // Texts that never repeat (a rule's own text) must not grow it without end.
  if (advances_.size() > 4096) advances_.clear();
  QFontMetrics m(font_, &metrics_device_);
  int width = m.horizontalAdvance(text);
  advances_.insert(key, width);
  return width;
}

// Measured in whole pixels, as text is laid out on a raster.
double RasterSurface::text_width(const std::string& text) {
  return unit(advance(to_qstring(text)));
}

double RasterSurface::text_height(const std::string&) {
  QFontMetrics m(font_, &metrics_device_);
  return unit(m.height());
}

void RasterSurface::print(const std::string& text, bool new_line) {
  QString t = to_qstring(text);
  QFontMetrics m(font_, &metrics_device_);
  if (!image_.isNull() && !t.isEmpty()) {
    QPainter& p = painter();
    p.setFont(font_);
    p.setPen(qcolour(fore_));
    // The current position is the text's top left corner.
    p.drawText(QPointF(px(x_), px(y_) + m.ascent()), t);
    changed();
  }
  if (new_line) {
    x_ = 0;
    y_ += unit(m.height());
  } else {
    x_ += unit(advance(t));
  }
}

Image RasterSurface::image() const { return from_qimage(image_); }

void RasterSurface::paint_image(const Image& picture, double x, double y, double width,
                                double height) {
  if (image_.isNull() || picture.width <= 0 || picture.height <= 0) return;
  int left = cell(px(x)), top = cell(px(y));
  int w = cell(px(x + width)) - left, h = cell(px(y + height)) - top;
  if (w <= 0 || h <= 0) return;
  QPainter& p = painter();
  // Stretched cell by cell, without smoothing, as a picture box copies.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(QRect(left, top, w, h), to_qimage(picture));
  changed();
}

QPainter& RasterSurface::painter() {
  // A shared picture would be copied by the painter's first write, leaving
  // the kept painter on the other copy.
  if (painter_.isActive() && !image_.isDetached()) painter_.end();
  if (!painter_.isActive()) painter_.begin(&image_);
  return painter_;
}

void RasterSurface::release_painter() {
  if (painter_.isActive()) painter_.end();
}

void RasterSurface::changed() {
  if (notify_) notify_();
}

QImage to_qimage(const Image& image) {
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
    return {};
  QImage out(image.width, image.height, QImage::Format_RGB32);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.width; ++x) {
      Colour c = image.pixels[static_cast<std::size_t>(y) * image.width + x];
      row[x] = qRgb(c.r, c.g, c.b);
    }
  }
  return out;
}

Image from_qimage(const QImage& source) {
  Image out;
  if (source.isNull()) return out;
  QImage img = source.format() == QImage::Format_RGB32 ? source
                                                       : source.convertToFormat(QImage::Format_RGB32);
  out.width = img.width();
  out.height = img.height();
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < out.width; ++x)
      out.pixels[static_cast<std::size_t>(y) * out.width + x] =
          rgb(qRed(row[x]), qGreen(row[x]), qBlue(row[x]));
  }
  return out;
}

}  // namespace zw::qt
