#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "platform/image_file/pixel_file_writer.h"
#include "platform/surface.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

// A picture box drawn into a retained GDI bitmap (a 32-bit DIB section in a
// memory device context). Coordinates arrive in twips (or pixels once the
// scale unit is switched) and become pixels at the twips per pixel the binding
// gives: the screen's for the window, 15 for the batch front end. Text is
// drawn and measured by GDI in the canvas font, "Arial" at 10 points until set.
// A tall picture may hold only a band of itself (set_band): drawing lands as
// on the whole picture, and what falls outside the band is dropped.
class GdiSurface : public Surface, public PixelRows {
 public:
  explicit GdiSurface(double twips_per_pixel = 15);
  ~GdiSurface() override;
  GdiSurface(const GdiSurface&) = delete;
  GdiSurface& operator=(const GdiSurface&) = delete;

  void resize(int width_twips, int height_twips) override;
  void clear(Colour back) override;
  void set_pixel_scale(bool pixels) override { pixels_ = pixels; }
  double scale_width() const override { return pixels_ ? w_ : width_; }
  double twips_per_pixel() const override { return tpp_; }

  void fill_rect(double x1, double y1, double x2, double y2, Colour c) override;
  void line(double x1, double y1, double x2, double y2, Colour c) override;

  void set_font(const std::string& name, double points) override;
  void set_bold(bool bold) override;
  bool bold() const override { return bold_; }
  void set_fore(Colour c) override { fore_ = c; }
  double text_width(const std::string& text) override;
  double text_height(const std::string& text) override;

  void move_to(double x, double y) override { x_ = x, y_ = y; }
  double current_x() const override { return x_; }
  double current_y() const override { return y_; }
  void print(const std::string& text, bool new_line = false) override;

  Image image() const override;
  void paint_image(const Image& image, double x, double y, double width, double height) override;
  std::string picture_error() const override { return picture_error_; }
  std::string encode(ImageFormat format) const override;
  bool bands() const override { return true; }
  void set_band(int width, int top, int height) override;
  std::unique_ptr<ImageFileWriter> start_file(ImageFormat format, int width, int height,
                                              FileOutput& out) const override;

  // For the window: the device context that holds the picture, the picture's
  // size in pixels, and a call after every change to it.
  HDC dc() const { return dc_; }
  int pixel_width() const override { return w_; }
  int pixel_height() const override { return h_; }
  const std::uint32_t* pixel_row(int y) const override;
  // The pixel row of the whole picture where the band held starts.
  int band_top_pixels() const { return origin_; }
  void on_change(std::function<void()> notify) { notify_ = std::move(notify); }
  const std::wstring& font_name() const { return font_name_; }
  int font_pixels() const { return font_px_; }

 private:
  double px(double v) const { return pixels_ ? v : v / tpp_; }
  double unit(double pixels) const { return pixels_ ? pixels : pixels * tpp_; }
  // Pixel rows of the band held, from a coordinate on the whole picture.
  int row_of(double y) const { return cell_of(px(y)) - origin_; }
  static int cell_of(double pixels);
  // Makes the bitmap w x h pixels, keeping the rows it shares with the old one.
  void make_bitmap(int w, int h);
  void fill_pixels(int left, int top, int right, int bottom, Colour c);  // right, bottom exclusive
  void make_font();
  int advance(const std::wstring& text);
  void changed();

  double tpp_;
  int width_ = 0, height_ = 0;  // twips
  int w_ = 0, h_ = 0;           // pixels of the band held
  int origin_ = 0;              // its first row on the whole picture
  bool pixels_ = false;
  Colour back_ = colours::white;
  Colour fore_ = colours::black;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ first_bitmap_ = nullptr, first_font_ = nullptr;
  std::uint32_t* bits_ = nullptr;  // top row first, 0x00RRGGBB
  std::string picture_error_;      // why the last resize made no picture
  std::wstring font_name_ = L"Arial";
  int font_px_ = 13;
  bool bold_ = false;
  HFONT font_ = nullptr;
  std::unordered_map<std::wstring, int> advances_;  // of the current font
  double x_ = 0, y_ = 0;
  std::function<void()> notify_;
};

}  // namespace zw::win32
