#include "support/recording_surface.h"

#include <algorithm>
#include <cmath>

#include "base/failure.h"

namespace zw::test {

void RecordingSurface::resize(int width_twips, int height_twips) {
  picture_error_ = resize_failure;
  if (!resize_failure.empty()) {
    raster_ = Image{};
    fail(resize_failure);
  }
  width_ = width_twips;
  height_ = height_twips;
  raster_.width = rasterise ? std::max(0, static_cast<int>(width_ / tpp)) : 0;
  raster_.height = rasterise ? std::max(0, static_cast<int>(height_ / tpp)) : 0;
  raster_.pixels.assign(static_cast<std::size_t>(raster_.width) * raster_.height, colours::white);
}

void RecordingSurface::clear(Colour back) {
  ops.clear();
  ops.push_back({Op::Kind::clear, 0, 0, 0, 0, back, {}, false, 0, 0});
  ++clears;
  x_ = y_ = 0;
  std::fill(raster_.pixels.begin(), raster_.pixels.end(), back);
}

void RecordingSurface::fill_rect(double x1, double y1, double x2, double y2, Colour c) {
  ops.push_back({Op::Kind::fill, x1, y1, x2, y2, c, {}, bold_, 0, 0});
  int px1 = static_cast<int>(std::floor(to_px(std::min(x1, x2))));
  int px2 = static_cast<int>(std::floor(to_px(std::max(x1, x2))));
  int py1 = static_cast<int>(std::floor(to_px(std::min(y1, y2))));
  int py2 = static_cast<int>(std::floor(to_px(std::max(y1, y2))));
  for (int y = std::max(0, py1); y < std::min(raster_.height, std::max(py2, py1 + 1)); ++y)
    for (int x = std::max(0, px1); x < std::min(raster_.width, std::max(px2, px1 + 1)); ++x)
      raster_.pixels[static_cast<std::size_t>(y) * raster_.width + x] = c;
}

void RecordingSurface::line(double x1, double y1, double x2, double y2, Colour c) {
  ops.push_back({Op::Kind::line, x1, y1, x2, y2, c, {}, bold_, 0, 0});
}

void RecordingSurface::print(const std::string& t, bool new_line) {
  ops.push_back({Op::Kind::text, x_, y_, 0, 0, fore_, t, bold_, 0, 0});
  if (new_line) {
    x_ = 0;
    y_ += text_h;
  } else {
    x_ += text_width(t);
  }
}

void RecordingSurface::paint_image(const Image& image, double x, double y, double w, double h) {
  ops.push_back({Op::Kind::image, x, y, x + w, y + h, {}, {}, false, image.width, image.height});
}

std::string RecordingSurface::encode(ImageFormat format) const {
  return std::string(image_format_name(format)) + " " + std::to_string(raster_.width) + "x" +
         std::to_string(raster_.height);
}

std::vector<RecordingSurface::Op> RecordingSurface::of(Op::Kind kind) const {
  std::vector<Op> found;
  for (const auto& op : ops)
    if (op.kind == kind) found.push_back(op);
  return found;
}

std::vector<std::string> RecordingSurface::texts() const {
  std::vector<std::string> found;
  for (const auto& op : of(Op::Kind::text)) found.push_back(op.text);
  return found;
}

}  // namespace zw::test
