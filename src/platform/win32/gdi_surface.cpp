#include "platform/win32/gdi_surface.h"

#include <algorithm>
#include <cmath>

#include "base/bmp_file.h"
#include "base/failure.h"
#include "platform/file_system.h"
#include "platform/image_file/pixel_file_writer.h"
#include "platform/win32/wide_text.h"

namespace zw::win32 {
namespace {

// Pixel index of a coordinate: the pixel the point falls in.
int cell(double pixels) {
  if (!std::isfinite(pixels)) return 0;
  return static_cast<int>(std::floor(std::clamp(pixels, -1e9, 1e9)));
}

// A picture box far beyond any screen would exhaust memory; refuse it.
constexpr long long max_pixels = 100LL * 1000 * 1000;

std::uint32_t pixel_of(Colour c) {
  return (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) | c.b;
}

Colour colour_of(std::uint32_t p) {
  return rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace

GdiSurface::GdiSurface(double twips_per_pixel) : tpp_(twips_per_pixel > 0 ? twips_per_pixel : 15) {
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) fail("Cannot create a drawing surface");
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  set_font("Arial", 10);
}

GdiSurface::~GdiSurface() {
  if (first_font_) SelectObject(dc_, first_font_);
  if (first_bitmap_) SelectObject(dc_, first_bitmap_);
  if (font_) DeleteObject(font_);
  if (bitmap_) DeleteObject(bitmap_);
  DeleteDC(dc_);
}

int GdiSurface::cell_of(double pixels) {
  return cell(pixels);
}

void GdiSurface::resize(int width_twips, int height_twips) {
  width_ = std::max(0, width_twips);
  height_ = std::max(0, height_twips);
  if (origin_ != 0) {
    // The whole picture again: nothing of the band belongs at its top.
    origin_ = 0;
    make_bitmap(0, 0);
  }
  make_bitmap(static_cast<int>(std::lround(width_ / tpp_)),
              static_cast<int>(std::lround(height_ / tpp_)));
}

void GdiSurface::set_band(int width_twips, int top, int height_twips) {
  width_ = std::max(0, width_twips);
  height_ = std::max(0, height_twips);
  top = std::max(0, top);
  // Bands meet without a gap or an overlap: each ends on the pixel row where
  // the next one starts, the row a drawing at that position lands on.
  int first = cell(top / tpp_);
  int end = cell((static_cast<double>(top) + height_) / tpp_);
  if (first != origin_) {
    origin_ = first;
    make_bitmap(0, 0);  // another part of the picture: nothing of the old band belongs there
  }
  make_bitmap(static_cast<int>(std::lround(width_ / tpp_)), end - first);
}

void GdiSurface::make_bitmap(int w, int h) {
  w = std::max(0, w), h = std::max(0, h);
  // A picture that cannot be made is never written out in the old one's place.
  picture_error_ = "Out of memory";
  if (static_cast<long long>(w) * h > max_pixels) fail(picture_error_);
  picture_error_.clear();
  if (w == w_ && h == h_) return;

  HBITMAP next = nullptr;
  std::uint32_t* next_bits = nullptr;
  if (w > 0 && h > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    next = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!next || !bits) {
      if (next) DeleteObject(next);
      picture_error_ = "Out of memory";
      fail(picture_error_);
    }
    next_bits = static_cast<std::uint32_t*>(bits);
    // A resized picture box keeps what it shows; new area gets the background.
    GdiFlush();
    std::fill(next_bits, next_bits + static_cast<std::size_t>(w) * h, pixel_of(back_));
    for (int y = 0; y < std::min(h, h_); ++y)
      std::copy(bits_ + static_cast<std::size_t>(y) * w_,
                bits_ + static_cast<std::size_t>(y) * w_ + std::min(w, w_),
                next_bits + static_cast<std::size_t>(y) * w);
  }
  HGDIOBJ previous = SelectObject(dc_, next ? static_cast<HGDIOBJ>(next) : first_bitmap_);
  if (!first_bitmap_) first_bitmap_ = previous;
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = next;
  bits_ = next_bits;
  w_ = next ? w : 0;
  h_ = next ? h : 0;
  changed();
}

void GdiSurface::fill_pixels(int left, int top, int right, int bottom, Colour c) {
  left = std::max(left, 0), top = std::max(top, 0);
  right = std::min(right, w_), bottom = std::min(bottom, h_);
  if (!bits_ || left >= right || top >= bottom) return;
  GdiFlush();  // GDI's own drawing reaches the pixels first
  std::uint32_t value = pixel_of(c);
  for (int y = top; y < bottom; ++y) {
    auto* row = bits_ + static_cast<std::size_t>(y) * w_;
    std::fill(row + left, row + right, value);
  }
}

void GdiSurface::clear(Colour back) {
  back_ = back;
  fill_pixels(0, 0, w_, h_, back);
  x_ = y_ = 0;
  changed();
}

void GdiSurface::fill_rect(double x1, double y1, double x2, double y2, Colour c) {
  if (!bits_) return;
  int px1 = cell(px(std::min(x1, x2))), px2 = cell(px(std::max(x1, x2)));
  int py1 = row_of(std::min(y1, y2)), py2 = row_of(std::max(y1, y2));
  // The far edge is exclusive so that neighbouring cells and columns abut;
  // a rectangle thinner than a pixel still shows one.
  fill_pixels(px1, py1, px1 + std::max(1, px2 - px1), py1 + std::max(1, py2 - py1), c);
  changed();
}

void GdiSurface::line(double x1, double y1, double x2, double y2, Colour c) {
  if (!bits_) return;
  int ax = cell(px(x1)), ay = row_of(y1), bx = cell(px(x2)), by = row_of(y2);
  if (ax == bx || ay == by) {
    // The chart's lines are straight: written directly, both ends included.
    fill_pixels(std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + 1, std::max(ay, by) + 1, c);
  } else {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(c.r, c.g, c.b));
    HGDIOBJ old = SelectObject(dc_, pen);
    MoveToEx(dc_, ax, ay, nullptr);
    LineTo(dc_, bx, by);
    SetPixelV(dc_, bx, by, RGB(c.r, c.g, c.b));  // LineTo leaves out the last point
    SelectObject(dc_, old);
    DeleteObject(pen);
  }
  changed();
}

void GdiSurface::make_font() {
  HFONT next = CreateFontW(-font_px_, 0, 0, 0, bold_ ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           // Grey edges, never coloured ones: a saved chart looks
                           // the same whatever the screen's smoothing.
                           ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_name_.c_str());
  if (!next) return;  // the previous font stays
  HGDIOBJ previous = SelectObject(dc_, next);
  if (!first_font_) first_font_ = previous;
  if (font_) DeleteObject(font_);
  font_ = next;
  advances_.clear();
}

void GdiSurface::set_font(const std::string& name, double points) {
  font_name_ = shown(name).substr(0, LF_FACESIZE - 1);
  // Whole pixels, as the system's fonts are sized on screen (10 points at 96
  // dots per inch is 13 pixels).
  if (std::isfinite(points) && points > 0 && points < 1000)
    font_px_ = std::max(1, static_cast<int>(std::lround(points * 20 / tpp_)));
  make_font();
}

void GdiSurface::set_bold(bool bold) {
  if (bold == bold_) return;
  bold_ = bold;
  make_font();
}

int GdiSurface::advance(const std::wstring& text) {
  auto found = advances_.find(text);
  if (found != advances_.end()) return found->second;
  // Texts that never repeat (a rule's own text) must not grow it without end.
  if (advances_.size() > 4096) advances_.clear();
  // Tabs advance to the next tab stop, as they do where the text is drawn.
  DWORD size = GetTabbedTextExtentW(dc_, text.c_str(), static_cast<int>(text.size()), 0, nullptr);
  int width = LOWORD(size);
  advances_.emplace(text, width);
  return width;
}

double GdiSurface::text_width(const std::string& text) {
  return unit(advance(shown(text)));
}

double GdiSurface::text_height(const std::string&) {
  TEXTMETRICW m{};
  GetTextMetricsW(dc_, &m);
  return unit(m.tmHeight);
}

void GdiSurface::print(const std::string& text, bool new_line) {
  auto t = shown(text);
  if (bits_ && !t.empty()) {
    SetTextColor(dc_, RGB(fore_.r, fore_.g, fore_.b));
    // The current position is the text's top left corner.
    int left = cell(px(x_));
    TabbedTextOutW(dc_, left, row_of(y_), t.c_str(), static_cast<int>(t.size()), 0, nullptr, left);
    changed();
  }
  if (new_line) {
    x_ = 0;
    y_ += text_height(text);
  } else {
    x_ += unit(advance(t));
  }
}

Image GdiSurface::image() const {
  Image out;
  if (!bits_) return out;
  GdiFlush();
  out.width = w_;
  out.height = h_;
  out.pixels.resize(static_cast<std::size_t>(w_) * h_);
  std::transform(bits_, bits_ + out.pixels.size(), out.pixels.begin(), colour_of);
  return out;
}

std::string GdiSurface::encode(ImageFormat format) const {
  if (!picture_error_.empty()) fail(picture_error_);
  GdiFlush();
  switch (format) {
    case ImageFormat::bmp:
      return bmp_file(w_, h_, tpp_,
                      [this](int y) { return bits_ + static_cast<std::size_t>(y) * w_; });
    case ImageFormat::png: {
      StringOutput out;
      PixelFileWriter file(format, w_, h_, tpp_, out);
      file.add(*this);
      file.finish();
      return std::move(out.bytes);
    }
  }
  fail("This picture cannot be written in that format");
}

void GdiSurface::paint_image(const Image& picture, double x, double y, double width,
                             double height) {
  if (!bits_ || picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * picture.height)
    return;
  int left = cell(px(x)), top = row_of(y);
  int w = cell(px(x + width)) - left, h = row_of(y + height) - top;
  if (w <= 0 || h <= 0) return;
  GdiFlush();
  // Stretched cell by cell, without smoothing, as a picture box copies.
  for (int dy = std::max(0, -top); dy < h && top + dy < h_; ++dy) {
    auto sy = static_cast<std::size_t>(static_cast<long long>(dy) * picture.height / h);
    auto* row = bits_ + static_cast<std::size_t>(top + dy) * w_;
    for (int dx = std::max(0, -left); dx < w && left + dx < w_; ++dx) {
      auto sx = static_cast<std::size_t>(static_cast<long long>(dx) * picture.width / w);
      row[left + dx] = pixel_of(picture.pixels[sy * picture.width + sx]);
    }
  }
  changed();
}

const std::uint32_t* GdiSurface::pixel_row(int y) const {
  GdiFlush();
  return bits_ + static_cast<std::size_t>(std::clamp(y, 0, std::max(h_ - 1, 0))) * w_;
}

std::unique_ptr<ImageFileWriter> GdiSurface::start_file(ImageFormat format, int width, int height,
                                                        FileOutput& out) const {
  return std::make_unique<PixelFileWriter>(
      format, static_cast<int>(std::lround(std::max(0, width) / tpp_)),
      static_cast<int>(std::lround(std::max(0, height) / tpp_)), tpp_, out);
}

void GdiSurface::changed() {
  if (notify_) notify_();
}

}  // namespace zw::win32
