#include "platform/image_file/pixel_file_writer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/bmp_file.h"
#include "base/failure.h"
#include "platform/image_file/png_stream.h"

namespace zw {
namespace {

void put_be(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Bytes gathered before they are written: few writes, little held.
constexpr std::size_t gathered_bytes = 1 << 22;

}  // namespace

PixelFileWriter::PixelFileWriter(ImageFormat format, int width, int height, double tpp,
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

PixelFileWriter::~PixelFileWriter() = default;

void PixelFileWriter::add(const Surface& band) {
  auto* raster = dynamic_cast<const PixelRows*>(&band);
  if (!raster) fail("This picture cannot be written as an image file");
  if (raster->pixel_width() < width_) {
    // A narrower band is widened with its background.
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width_), 0xFFFFFFFFu);
    for (int y = 0; y < raster->pixel_height() && rows_ < height_; ++y) {
      std::memcpy(row.data(), raster->pixel_row(y),
                  static_cast<std::size_t>(raster->pixel_width()) * sizeof(std::uint32_t));
      add_row(row.data());
      previous_ = row;
      last_ = previous_.data();
    }
    return;
  }
  for (int y = 0; y < raster->pixel_height() && rows_ < height_; ++y) add_row(raster->pixel_row(y));
  // The band's pixels go with the next band: its last row is kept to compare.
  if (last_ && last_ != previous_.data()) {
    previous_.assign(last_, last_ + width_);
    last_ = previous_.data();
  }
}

void PixelFileWriter::add_row(const std::uint32_t* src) {
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
  bool repeated = rows_++ > 0 && last_ && std::memcmp(src, last_, w * sizeof(std::uint32_t)) == 0;
  last_ = src;
  if (repeated) {
    png_->add_repeated_row(w * 3);
    return;
  }
  unsigned char* dst = png_->next_row(1 + w * 3);
  *dst++ = 0;  // no filter
  for (std::size_t x = 0; x < w; ++x, dst += 3) {
    dst[0] = static_cast<unsigned char>(src[x] >> 16);
    dst[1] = static_cast<unsigned char>(src[x] >> 8);
    dst[2] = static_cast<unsigned char>(src[x]);
  }
}

void PixelFileWriter::put_rows() {
  if (gathered_ == 0) return;
  auto stride = static_cast<std::size_t>(bmp_stride(width_));
  std::string_view rows(block_.data() + (block_rows_ - gathered_) * stride, gathered_ * stride);
  out_.write_at(bmp_row_offset(width_, height_, first_ + static_cast<int>(gathered_) - 1), rows);
  gathered_ = 0;
}

void PixelFileWriter::drain() {
  out_.write_at(written_, bytes_);
  written_ += bytes_.size();
  bytes_.clear();
}

void PixelFileWriter::finish() {
  if (rows_ < height_) {
    std::vector<std::uint32_t> blank(static_cast<std::size_t>(width_), 0xFFFFFFFFu);
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

}  // namespace zw
