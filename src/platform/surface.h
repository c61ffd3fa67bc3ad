#pragma once
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/colour.h"
#include "platform/file_system.h"

namespace zw {

// The image files a surface's picture can be written as.
// Every choice by format is a switch without default, so that a new format
// is a compiler warning wherever it is not handled yet.
enum class ImageFormat { bmp, png };

constexpr const char* image_format_name(ImageFormat format) {
  switch (format) {
    case ImageFormat::bmp:
      return "bmp";
    case ImageFormat::png:
      return "png";
  }
  return "image";
}

// A picture taken from a surface: pixels in rows, top row first.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;  // width * height entries

  Colour at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y) * width + x); }
};

class Surface;

// An image file made band by band, from the top, into a file output: each
// band is the whole picture of a surface at the file's width, its rows
// appended in order. Only a band's worth is held, never the whole picture.
class ImageFileWriter {
 public:
  virtual ~ImageFileWriter() = default;
  virtual void add(const Surface& band) = 0;
  // Writes the rest of the file; rows never added are the background.
  virtual void finish() = 0;
};

// One drawing surface (a picture box). Coordinates are in twips unless the scale
// unit is switched to pixels. Drawing is retained: what is drawn stays until the
// next clear().
class Surface {
 public:
  virtual ~Surface() = default;

  // The surface's size in twips; the binding keeps its image this size.
  virtual void resize(int width_twips, int height_twips) = 0;
  // Fills the whole surface with the background colour and puts the current
  // position at (0, 0).
  virtual void clear(Colour back) = 0;
  // Switches the scale unit between twips (false) and pixels (true).
  virtual void set_pixel_scale(bool pixels) = 0;
  // The usable width in the current scale unit.
  virtual double scale_width() const = 0;
  virtual double twips_per_pixel() const = 0;

  virtual void fill_rect(double x1, double y1, double x2, double y2, Colour c) = 0;
  virtual void line(double x1, double y1, double x2, double y2, Colour c) = 0;

  virtual void set_font(const std::string& name, double points) = 0;
  virtual void set_bold(bool bold) = 0;
  virtual bool bold() const = 0;
  virtual void set_fore(Colour c) = 0;
  virtual double text_width(const std::string& text) = 0;
  virtual double text_height(const std::string& text) = 0;

  virtual void move_to(double x, double y) = 0;
  virtual double current_x() const = 0;
  virtual double current_y() const = 0;
  // Prints text with its top at the current position and leaves the position
  // after the text on the same line; with new_line the position moves to the
  // start of the next line instead.
  virtual void print(const std::string& text, bool new_line = false) = 0;

  virtual Image image() const = 0;
  virtual void paint_image(const Image& image, double x, double y, double width, double height) = 0;
  // Paints another surface's picture as paint_image paints its image; a binding
  // may read the source's pixels in place instead of taking an image of them.
  virtual void paint_surface(const Surface& source, double x, double y, double width,
                             double height) {
    paint_image(source.image(), x, y, width, height);
  }
  // Grows the picture to width x (top + height) twips, keeping what it shows,
  // and paints lower's picture into the band below top at the full width. A
  // binding may keep lower's pixels in that band by reference, without a copy.
  virtual void stack(const Surface& lower, int width, int top, int height) {
    resize(width, top + height);
    paint_surface(lower, 0, top, width, height);
  }

  // Whether the surface can hold a band of a taller picture (set_band).
  virtual bool bands() const { return false; }
  // Holds only the band from top, height twips high, of a picture width twips
  // wide: drawing is placed as on the whole picture, and what falls outside
  // the band is dropped. The surface's picture is then that band alone.
  virtual void set_band(int width, int top, int height) {
    (void)top;
    resize(width, height);
  }
  // Starts an image file of a picture width x height twips in out, to be
  // written band by band; throws when the format cannot hold a picture of
  // that size.
  virtual std::unique_ptr<ImageFileWriter> start_file(ImageFormat format, int width, int height,
                                                      FileOutput& out) const {
    (void)format, (void)width, (void)height, (void)out;
    throw std::runtime_error("This picture cannot be written as an image file");
  }

  // Why the surface holds no picture of its size (the last resize could not
  // make one); "" when it does.
  virtual std::string picture_error() const { return {}; }
  // The picture as the bytes of an image file; throws when it cannot.
  virtual std::string encode(ImageFormat format) const {
    (void)format;
    throw std::runtime_error("This picture cannot be written as an image file");
  }
};

}  // namespace zw
