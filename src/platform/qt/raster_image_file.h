#pragma once
#include <QColor>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace zw::qt {

class PngCompressor;

// An image file of a picture of width x height pixels, made from bands of
// raster surfaces added from the top: a bitmap file, or a PNG file (8-bit
// RGB). Charts are flat colours in rows that often repeat: a row like the one
// above is stored as a difference of zeros, any other row unfiltered, and
// packed at a fast level. Only the file is held, never the whole picture.
class RasterFileWriter : public ImageFileWriter {
 public:
  // Throws when the format cannot hold a picture of that size.
  RasterFileWriter(ImageFormat format, int width, int height, double twips_per_pixel);
  ~RasterFileWriter() override;

  void add(const Surface& band) override;
  std::string finish() override;

 private:
  void add_row(const QRgb* row);

  ImageFormat format_;
  int width_, height_;
  int rows_ = 0;  // rows added so far
  std::string out_;
  std::unique_ptr<PngCompressor> png_;
  // The row added last, to find a repeated row: in the band while it is
  // added, then a copy.
  const QRgb* last_ = nullptr;
  std::vector<QRgb> previous_;
};

}  // namespace zw::qt
