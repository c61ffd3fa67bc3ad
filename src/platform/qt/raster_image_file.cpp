#include "platform/qt/raster_image_file.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/bmp_file.h"
#include "base/failure.h"
#include "platform/qt/raster_png_stream.h"
#include "platform/qt/raster_surface.h"

namespace zw::qt {
namespace {

void put_be(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Bytes gathered before they are written: few writes, little held.
constexpr std::size_t gathered_bytes = 1 << 22;

}  // namespace

RasterFileWriter::RasterFileWriter(ImageFormat format, int width, int height, double tpp,
                                   FileOutput& out)
    : format_(format), width_(std::max(0, width)), height_(std::max(0, height)), out_(out) {
  if (width_ <= 0 || height_ <= 0) fail("The picture is empty");
  switch (format_) {
    case ImageFormat::bmp: {
      out_.write_at(0, bmp_headers(width_, height_, tpp));
      auto stride = static_cast<std::size_t>(bmp_stride(width_));
      block_rows_ = std::max<std::size_t>(1, gathered_bytes / stride);
      block_.assign(block_rows_ * stride, '\0');
      return;
    }
    case ImageFormat::png:
      break;
  }
  bytes_.assign("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  put_be(header, static_cast<std::uint32_t>(width_));
  put_be(header, static_cast<std::uint32_t>(height_));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  png_chunk(bytes_, "IHDR", header.data(), header.size());
  std::string density;
  std::uint32_t ppm = dots_per_metre(tpp);
  put_be(density, ppm);
  put_be(density, ppm);
  density += '\x01';  // per metre
  png_chunk(bytes_, "pHYs", density.data(), density.size());
  png_ = std::make_unique<PngCompressor>(bytes_, [this] {
    if (bytes_.size() >= gathered_bytes) drain();
  });
}

RasterFileWriter::~RasterFileWriter() = default;

void RasterFileWriter::add(const Surface& band) {
  auto* raster = dynamic_cast<const RasterSurface*>(&band);
  if (!raster) fail("This picture cannot be written as an image file");
  if (raster->pixel_width() < width_) {
    // A narrower band is widened with its background.
    std::vector<QRgb> row(static_cast<std::size_t>(width_), qRgb(255, 255, 255));
    for (int y = 0; y < raster->pixel_height() && rows_ < height_; ++y) {
      std::memcpy(row.data(), raster->row(y),
                  static_cast<std::size_t>(raster->pixel_width()) * sizeof(QRgb));
      add_row(row.data());
      previous_ = row;
      last_ = previous_.data();
    }
    return;
  }
  for (int y = 0; y < raster->pixel_height() && rows_ < height_; ++y) add_row(raster->row(y));
  // The band's pixels go with the next band: its last row is kept to compare.
  if (last_ && last_ != previous_.data()) {
    previous_.assign(last_, last_ + width_);
    last_ = previous_.data();
  }
}

void RasterFileWriter::add_row(const QRgb* src) {
  auto w = static_cast<std::size_t>(width_);
  switch (format_) {
    case ImageFormat::bmp: {
      if (gathered_ == block_rows_) put_rows();
      if (gathered_ == 0) first_ = rows_;
      auto stride = static_cast<std::size_t>(bmp_stride(width_));
      bmp_put_pixels(block_.data() + (block_rows_ - 1 - gathered_) * stride, width_, src);
      ++gathered_;
      ++rows_;
      return;
    }
    case ImageFormat::png:
      break;
  }
  bool repeated = rows_++ > 0 && last_ && std::memcmp(src, last_, w * sizeof(QRgb)) == 0;
  last_ = src;
  if (repeated) {
    png_->add_repeated_row(w * 3);
    return;
  }
  unsigned char* dst = png_->next_row(1 + w * 3);
  *dst++ = 0;  // no filter
  for (std::size_t x = 0; x < w; ++x, dst += 3) {
    dst[0] = static_cast<unsigned char>(qRed(src[x]));
    dst[1] = static_cast<unsigned char>(qGreen(src[x]));
    dst[2] = static_cast<unsigned char>(qBlue(src[x]));
  }
}

void RasterFileWriter::put_rows() {
  if (gathered_ == 0) return;
  auto stride = static_cast<std::size_t>(bmp_stride(width_));
  std::string_view rows(block_.data() + (block_rows_ - gathered_) * stride, gathered_ * stride);
  out_.write_at(bmp_row_offset(width_, height_, first_ + static_cast<int>(gathered_) - 1), rows);
  gathered_ = 0;
}

void RasterFileWriter::drain() {
  out_.write_at(written_, bytes_);
  written_ += bytes_.size();
  bytes_.clear();
}

void RasterFileWriter::finish() {
  if (rows_ < height_) {
    std::vector<QRgb> blank(static_cast<std::size_t>(width_), qRgb(255, 255, 255));
    while (rows_ < height_) add_row(blank.data());
    last_ = nullptr;
  }
  switch (format_) {
    case ImageFormat::bmp:
      put_rows();
      return;
    case ImageFormat::png:
      break;
  }
  png_->finish();
  png_.reset();
  png_chunk(bytes_, "IEND", "", 0);
  drain();
}

}  // namespace zw::qt
