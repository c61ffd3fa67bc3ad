#pragma once
#include <string>
#include <vector>

#include "platform/surface.h"

namespace zw::test {

// A drawing surface that records what is drawn, with fixed, simple metrics so
// that layouts can be checked exactly: every character is 100 twips wide, every
// text 200 twips high, and a pixel is 15 twips. Fills are also rasterised, so
// that image() shows them.
class RecordingSurface : public Surface {
 public:
  static constexpr double char_width = 100;
  static constexpr double text_h = 200;
  static constexpr double tpp = 15;

  struct Op {
    enum class Kind { clear, fill, line, text, image } kind;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour colour;
    std::string text;
    bool bold = false;
    int image_width = 0, image_height = 0;
  };

  void resize(int width_twips, int height_twips) override;
  void clear(Colour back) override;
  void set_pixel_scale(bool pixels) override { pixels_ = pixels; }
  double scale_width() const override { return pixels_ ? width_ / tpp : width_; }
  double twips_per_pixel() const override { return tpp; }
  void fill_rect(double x1, double y1, double x2, double y2, Colour c) override;
  void line(double x1, double y1, double x2, double y2, Colour c) override;
  void set_font(const std::string& name, double points) override {
    font = name, font_size = points;
  }
  void set_bold(bool b) override { bold_ = b; }
  bool bold() const override { return bold_; }
  void set_fore(Colour c) override { fore_ = c; }
  double text_width(const std::string& t) override { return char_width * t.size(); }
  double text_height(const std::string&) override { return text_h; }
  void move_to(double x, double y) override { x_ = x, y_ = y; }
  double current_x() const override { return x_; }
  double current_y() const override { return y_; }
  void print(const std::string& t, bool new_line) override;
  Image image() const override { return raster_; }
  void paint_image(const Image& image, double x, double y, double w, double h) override;
  std::string picture_error() const override { return picture_error_; }
  // A stand-in for an image file: the format and the picture's size in pixels.
  std::string encode(ImageFormat format) const override;

  // The recorded operations of one kind.
  std::vector<Op> of(Op::Kind kind) const;
  // The texts printed, in order.
  std::vector<std::string> texts() const;

  std::vector<Op> ops;  // since the last clear
  std::string font;
  double font_size = 0;
  int clears = 0;
  int width_ = 0, height_ = 0;
  // Off: only the operations are recorded (tall canvases cost no raster).
  bool rasterise = true;
  // Set: every resize fails with this description, as a picture too large to make.
  std::string resize_failure;

 private:
  double to_px(double v) const { return pixels_ ? v : v / tpp; }
  bool pixels_ = false, bold_ = false;
  Colour fore_;
  double x_ = 0, y_ = 0;
  Image raster_;
  std::string picture_error_;
};

}  // namespace zw::test
