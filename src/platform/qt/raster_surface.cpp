#include "platform/qt/raster_surface.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/bmp_file.h"
#include "base/failure.h"
#include "platform/qt/raster_text.h"

namespace zw::qt {
namespace {

QColor qcolour(Colour c) {
  return QColor(c.r, c.g, c.b);
}

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
  int wt = std::max(0, width_twips), ht = std::max(0, height_twips);
  if (origin_ != 0) {
    release_painter();
    image_ = band_ = tail_ = QImage();
    origin_ = 0;
  }
  make_picture(wt, ht, static_cast<int>(std::lround(wt / tpp_)),
               static_cast<int>(std::lround(ht / tpp_)));
}

void RasterSurface::set_band(int width_twips, int top, int height_twips) {
  int wt = std::max(0, width_twips), ht = std::max(0, height_twips);
  top = std::max(0, top);
  // Bands meet without a gap or an overlap: each ends on the pixel row where
  // the next one starts, the row a drawing at that position lands on.
  int first = cell(top / tpp_);  // twips, whatever the scale unit
  int end = cell((static_cast<double>(top) + ht) / tpp_);
  if (first != origin_) {
    // Another part of the picture: nothing of the old band belongs there. A
    // band of the same size is blanked in place; export moves band after band.
    int w = static_cast<int>(std::lround(wt / tpp_));
    if (!stacked() && image_.isDetached() && image_.width() == w &&
        image_.height() == end - first) {
      image_.fill(qcolour(back_));
    } else {
      release_painter();
      image_ = band_ = tail_ = QImage();
    }
  }
  origin_ = first;
  make_picture(wt, ht, static_cast<int>(std::lround(wt / tpp_)), end - first);
}

int RasterSurface::row_of(double y) const {
  return cell(px(y)) - origin_;
}

void RasterSurface::make_picture(int wt, int ht, int w, int h) {
  if (static_cast<long long>(w) * h > max_pixels) {
    // Nothing stale may stand in for a picture that could not be made.
    release_painter();
    image_ = band_ = tail_ = QImage();
    width_ = height_ = 0;
    picture_error_ = "Out of memory";
    changed();
    fail(picture_error_);
  }
  picture_error_.clear();
  width_ = wt;
  height_ = ht;
  if (w == pixel_width() && h == pixel_height()) return;
  // A resized picture box keeps what it shows; new area gets the background.
  QImage next = kept_rows(w, 0, h);
  release_painter();
  image_ = next;
  band_ = tail_ = QImage();
  changed();
}

QImage RasterSurface::kept_rows(int w, int y0, int y1) const {
  QImage out = blank(w, std::max(0, y1 - y0), back_);
  int columns = std::min(w, pixel_width());
  if (out.isNull() || columns <= 0) return out;
  auto bytes = static_cast<std::size_t>(columns) * sizeof(QRgb);
  for (int y = std::max(0, y0); y < std::min(y1, pixel_height()); ++y)
    std::memcpy(out.scanLine(y - y0), row(y), bytes);
  return out;
}

const QRgb* RasterSurface::row(int y) const {
  if (y < image_.height()) return reinterpret_cast<const QRgb*>(image_.constScanLine(y));
  y -= image_.height();
  if (y < band_.height()) return reinterpret_cast<const QRgb*>(band_.constScanLine(y));
  return reinterpret_cast<const QRgb*>(tail_.constScanLine(y - band_.height()));
}

void RasterSurface::unstack() const {
  if (!stacked()) return;
  QImage flat = blank(pixel_width(), pixel_height(), back_);
  for (int y = 0; y < flat.height(); ++y)
    std::memcpy(flat.scanLine(y), row(y), static_cast<std::size_t>(flat.bytesPerLine()));
  release_painter();
  image_ = flat;
  band_ = tail_ = QImage();
}

const QImage& RasterSurface::qimage() const {
  unstack();
  return image_;
}

void RasterSurface::clear(Colour back) {
  back_ = back;
  if (stacked() || (!image_.isNull() && !image_.isDetached())) {
    // Another picture shares these pixels: a fresh one costs less than a copy.
    int w = pixel_width(), h = pixel_height();
    release_painter();
    image_ = blank(w, h, back);
    band_ = tail_ = QImage();
  } else if (!image_.isNull()) {
    image_.fill(qcolour(back));
  }
  x_ = y_ = 0;
  changed();
}

double RasterSurface::scale_width() const {
  return pixels_ ? image_.width() : width_;
}

void RasterSurface::fill_rect(double x1, double y1, double x2, double y2, Colour c) {
  unstack();
  if (image_.isNull()) return;
  int px1 = cell(px(std::min(x1, x2))), px2 = cell(px(std::max(x1, x2)));
  int py1 = row_of(std::min(y1, y2)), py2 = row_of(std::max(y1, y2));
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
  unstack();
  if (image_.isNull()) return;
  QPainter& p = painter();
  p.setPen(QPen(qcolour(c), 0));  // cosmetic: one pixel wide
  p.drawLine(QPoint(cell(px(x1)), row_of(y1)), QPoint(cell(px(x2)), row_of(y2)));
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

void RasterSurface::set_bold(bool bold) {
  font_.setBold(bold);
}

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
  if (!t.isEmpty()) unstack();
  if (!image_.isNull() && !t.isEmpty()) {
    QPainter& p = painter();
    p.setFont(font_);
    p.setPen(qcolour(fore_));
    // The current position is the text's top left corner.
    p.drawText(QPointF(px(x_), px(y_) - origin_ + m.ascent()), t);
    changed();
  }
  if (new_line) {
    x_ = 0;
    y_ += unit(m.height());
  } else {
    x_ += unit(advance(t));
  }
}

Image RasterSurface::image() const {
  Image out;
  out.width = pixel_width();
  out.height = pixel_height();
  out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    const QRgb* r = row(y);
    for (int x = 0; x < out.width; ++x)
      out.pixels.push_back(rgb(qRed(r[x]), qGreen(r[x]), qBlue(r[x])));
  }
  return out;
}

void RasterSurface::paint_image(const Image& picture, double x, double y, double width,
                                double height) {
  if (picture.width <= 0 || picture.height <= 0) return;
  draw_scaled(to_qimage(picture), x, y, width, height);
}

void RasterSurface::paint_surface(const Surface& source, double x, double y, double width,
                                  double height) {
  auto* raster = dynamic_cast<const RasterSurface*>(&source);
  if (!raster) return Surface::paint_surface(source, x, y, width, height);
  if (raster == this) {
    draw_scaled(qimage().copy(), x, y, width, height);
    return;
  }
  const QImage& picture = raster->qimage();
  if (!picture.isNull()) draw_scaled(picture, x, y, width, height);
}

void RasterSurface::draw_scaled(const QImage& picture, double x, double y, double width,
                                double height) {
  unstack();
  if (image_.isNull() || picture.isNull()) return;
  int left = cell(px(x)), top = row_of(y);
  int w = cell(px(x + width)) - left, h = row_of(y + height) - top;
  if (w <= 0 || h <= 0) return;
  QPainter& p = painter();
  // Stretched cell by cell, without smoothing, as a picture box copies.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(QRect(left, top, w, h), picture);
  changed();
}

void RasterSurface::stack(const Surface& lower, int width, int top, int height) {
  auto* raster = dynamic_cast<const RasterSurface*>(&lower);
  int w = static_cast<int>(std::lround(std::max(0, width) / tpp_));
  int total = static_cast<int>(std::lround(std::max(0, top + height) / tpp_));
  // The band where a painted copy would land, in the cells paint_surface uses.
  int band_top = cell(px(top)), band_bottom = cell(px(static_cast<double>(top) + height));
  bool in_place = raster && raster != this && !raster->stacked() && !pixels_ &&
                  raster->image_.format() == QImage::Format_RGB32 && raster->image_.width() == w &&
                  raster->image_.height() == band_bottom - band_top && w > 0 && band_top >= 0 &&
                  band_top < band_bottom && band_bottom <= total && cell(px(width)) == w;
  if (!in_place) return Surface::stack(lower, width, top, height);
  // The lower picture lands one to one at the full width: keep its pixels by
  // reference rather than copy them (a tall chart is most of the memory).
  QImage head = kept_rows(w, 0, band_top), tail = kept_rows(w, band_bottom, total);
  release_painter();
  image_ = head;
  // Qt copies a picture that a painter is still open on.
  raster->release_painter();
  band_ = raster->image_;
  tail_ = tail;
  width_ = std::max(0, width);
  height_ = std::max(0, top + height);
  picture_error_.clear();
  changed();
}

std::unique_ptr<ImageFileWriter> RasterSurface::start_file(ImageFormat format, int width,
                                                           int height, FileOutput& out) const {
  return std::make_unique<PixelFileWriter>(
      format, static_cast<int>(std::lround(std::max(0, width) / tpp_)),
      static_cast<int>(std::lround(std::max(0, height) / tpp_)), tpp_, out);
}

std::string RasterSurface::encode(ImageFormat format) const {
  if (!picture_error_.empty()) fail(picture_error_);
  switch (format) {
    case ImageFormat::bmp:
      return bmp_file(pixel_width(), pixel_height(), tpp_, [this](int y) { return row(y); });
    case ImageFormat::png: {
      StringOutput out;
      PixelFileWriter file(format, pixel_width(), pixel_height(), tpp_, out);
      file.add(*this);
      file.finish();
      return std::move(out.bytes);
    }
  }
  fail("This picture cannot be written in that format");
}

QPainter& RasterSurface::painter() {
  // A shared picture would be copied by the painter's first write, leaving
  // the kept painter on the other copy.
  if (painter_.isActive() && !image_.isDetached()) painter_.end();
  if (!painter_.isActive()) painter_.begin(&image_);
  return painter_;
}

void RasterSurface::release_painter() const {
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
  QImage img = source.format() == QImage::Format_RGB32
                   ? source
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
