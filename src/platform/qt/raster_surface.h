#pragma once
#include <QFont>
#include <QImage>

#include "platform/surface.h"

namespace zw::qt {

// A picture box drawn into a retained QImage at the given twips per pixel; the
// widget showing it paints the image as it is.
class RasterSurface : public Surface {
 public:
  explicit RasterSurface(double twips_per_pixel = 15);

  void resize(int width_twips, int height_twips) override;
  void clear(Colour back) override;
  void set_pixel_scale(bool pixels) override { pixels_ = pixels; }
  double scale_width() const override;
  double twips_per_pixel() const override { return tpp_; }

  void fill_rect(double x1, double y1, double x2, double y2, Colour c) override;
  void line(double x1, double y1, double x2, double y2, Colour c) override;

  void set_font(const std::string& name, double points) override;
  void set_bold(bool bold) override { font_.setBold(bold); }
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

  const QImage& qimage() const { return image_; }

 private:
  double to_px(double v) const { return pixels_ ? v : v / tpp_; }
  double from_px(double v) const { return pixels_ ? v : v * tpp_; }

  double tpp_;
  int width_twips_ = 0;
  QImage image_;
  Colour back_ = colours::white;
  Colour fore_ = colours::black;
  QFont font_;
  bool pixels_ = false;
  double x_ = 0, y_ = 0;
};

}  // namespace zw::qt
