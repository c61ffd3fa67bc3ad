#pragma once
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <functional>
#include <string>

#include "platform/image_file/pixel_file_writer.h"
#include "platform/surface.h"

namespace zw::qt {

// A picture box drawn into a retained QImage. Coordinates arrive in twips (or
// pixels once the scale unit is switched) and become pixels at the twips per
// pixel the binding gives: the screen's for the window, 15 for the batch front
// end. Text uses the canvas font, "Arial" at 10 points until set.
class RasterSurface : public Surface, public PixelRows {
 public:
  explicit RasterSurface(double twips_per_pixel = 15);
  RasterSurface(const RasterSurface&) = delete;
  RasterSurface& operator=(const RasterSurface&) = delete;

  void resize(int width_twips, int height_twips) override;
  void clear(Colour back) override;
  void set_pixel_scale(bool pixels) override { pixels_ = pixels; }
  double scale_width() const override;
  double twips_per_pixel() const override { return tpp_; }

  void fill_rect(double x1, double y1, double x2, double y2, Colour c) override;
  void line(double x1, double y1, double x2, double y2, Colour c) override;

  void set_font(const std::string& name, double points) override;
  void set_bold(bool bold) override;
  bool bold() const override { return font_.bold(); }
  void set_fore(Colour c) override { fore_ = c; }
  double text_width(const std::string& text) override;
  double text_height(const std::string& text) override;

  void move_to(double x, double y) override { x_ = x, y_ = y; }
  double current_x() const override { return x_; }
  double current_y() const override { return y_; }
  void print(const std::string& text, bool new_line = false) override;

  Image image() const override;
  void paint_image(const Image& image, double x, double y, double width, double height) override;
  void paint_surface(const Surface& source, double x, double y, double width,
                     double height) override;
  void stack(const Surface& lower, int width, int top, int height) override;
  std::string picture_error() const override { return picture_error_; }
  std::string encode(ImageFormat format) const override;
  bool bands() const override { return true; }
  void set_band(int width, int top, int height) override;
  std::unique_ptr<ImageFileWriter> start_file(ImageFormat format, int width, int height,
                                              FileOutput& out) const override;
  // The pixel row of the whole picture where the held picture starts.
  int band_top_pixels() const { return origin_; }

  // The picture's size in pixels and its row y (0xffRRGGBB per pixel), read in
  // place also while a stacked band is kept by reference.
  int pixel_width() const override { return image_.width(); }
  int pixel_height() const override { return image_.height() + band_.height() + tail_.height(); }
  const QRgb* row(int y) const;
  const std::uint32_t* pixel_row(int y) const override { return row(y); }

  // For the window: the retained picture, and a call after every change to it
  // (so a widget can repaint itself).
  const QImage& qimage() const;
  void on_change(std::function<void()> notify) { notify_ = std::move(notify); }
  int width_twips() const { return width_; }
  int height_twips() const { return height_; }
  const QFont& font() const { return font_; }

 private:
  // Current scale unit to pixels.
  double px(double v) const { return pixels_ ? v : v / tpp_; }
  // A vertical position to the pixel row of the held picture.
  int row_of(double y) const;
  // Makes a picture of w x h pixels for a size in twips; what resize and
  // set_band share.
  void make_picture(int width_twips, int height_twips, int w, int h);
  // Pixels to the current scale unit.
  double unit(double pixels) const { return pixels_ ? pixels : pixels * tpp_; }
  void changed();
  // The painter on the picture, begun once and kept: setting one up costs in
  // proportion to the picture's height, which a tall chart pays on every text.
  QPainter& painter();
  // Ends the kept painter before the picture is replaced or its pixels are
  // written directly while another copy shares them.
  void release_painter() const;
  // The advance of a text in the canvas font, in pixels. Charts measure the
  // same few texts on every row, and measuring means laying the text out.
  int advance(const QString& text);
  QImage blank(int w, int h, Colour back) const;
  // Paints a picture scaled into a rectangle, cell by cell.
  void draw_scaled(const QImage& picture, double x, double y, double width, double height);
  // Rows y0 .. y1-1 of the picture at width w, what lies outside it in the
  // background colour, as a resized picture box keeps what it shows.
  QImage kept_rows(int w, int y0, int y1) const;
  bool stacked() const { return !band_.isNull(); }
  // Makes the picture one image again before it is drawn on.
  void unstack() const;
  double tpp_;
  int width_ = 0, height_ = 0;
  int origin_ = 0;  // pixel row of the whole picture where the held band starts
  bool pixels_ = false;
  Colour back_ = colours::white;
  Colour fore_ = colours::black;
  QFont font_;
  // The picture. While a lower surface's picture is stacked by reference,
  // image_ holds only the rows above it, band_ shares the lower picture's
  // pixels and tail_ holds the rows below it.
  mutable QImage image_;
  mutable QImage band_, tail_;
  std::string picture_error_;
  QImage metrics_device_;         // carries the DPI for measuring when image_ is empty
  QHash<QString, int> advances_;  // of the current font; bold texts marked
  mutable QPainter painter_;      // after image_: it ends before the picture goes
  double x_ = 0, y_ = 0;
  std::function<void()> notify_;
};

// Conversions between the program's pictures and Qt's.
QImage to_qimage(const Image& image);
Image from_qimage(const QImage& image);

}  // namespace zw::qt
