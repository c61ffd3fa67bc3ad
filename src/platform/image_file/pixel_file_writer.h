#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace zw {

class PngCompressor;

// A surface whose pixels can be read a row at a time, top row first: 32 bits
// a pixel, 0x..RRGGBB (the top byte is not read).
class PixelRows {
 public:
  virtual ~PixelRows() = default;
  virtual int pixel_width() const = 0;
  virtual int pixel_height() const = 0;
  virtual const std::uint32_t* pixel_row(int y) const = 0;
};

// An image file of a picture of width x height pixels, made from bands of
// surfaces (PixelRows) added from the top and written to a file output as it
// goes: a bitmap file, or a PNG file (8-bit RGB). Charts are flat colours in
// rows that often repeat: a row like the one above is stored as a difference
// of zeros, any other row unfiltered, and packed at a fast level. Only some
// rows are held at a time, never the whole picture or the whole file.
class PixelFileWriter : public ImageFileWriter {
 public:
  // Throws when the format cannot hold a picture of that size.
  PixelFileWriter(ImageFormat format, int width, int height, double twips_per_pixel,
                  FileOutput& out);
  ~PixelFileWriter() override;

  void add(const Surface& band) override;
  void finish() override;

 private:
  void add_row(const std::uint32_t* row);
  // The PNG bytes made so far, to the output.
  void drain();
  // The bitmap rows gathered, to their place in the output.
  void put_rows();

  ImageFormat format_;
  int width_, height_;
  int rows_ = 0;  // rows added so far
  FileOutput& out_;
  std::uint64_t written_ = 0;  // PNG bytes written
  std::string bytes_;          // PNG bytes not yet written
  std::unique_ptr<PngCompressor> png_;
  // The row added last, to find a repeated row: in the band while it is
  // added, then a copy.
  const std::uint32_t* last_ = nullptr;
  std::vector<std::uint32_t> previous_;
  // Bitmap rows are gathered bottom-up, as the file holds them: the last row
  // gathered at the front.
  std::string block_;
  std::size_t block_rows_ = 0, gathered_ = 0;
  int first_ = 0;  // the top row gathered
};

}  // namespace zw
