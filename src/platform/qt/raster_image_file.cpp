#include "platform/qt/raster_image_file.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/failure.h"
#include "platform/qt/raster_png_stream.h"
#include "platform/qt/raster_surface.h"

namespace zw::qt {
namespace {

void put_le(char* at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void put_be(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Dots per metre of a picture drawn at the given twips per pixel.
std::uint32_t dots_per_metre(double twips_per_pixel) {
  return static_cast<std::uint32_t>(
      std::lround(1440.0 / (twips_per_pixel > 0 ? twips_per_pixel : 15) / 0.0254));
}

}  // namespace

std::string bmp_file(const RasterSurface& picture) {
  int w = std::max(0, picture.pixel_width()), h = std::max(0, picture.pixel_height());
  std::uint64_t stride = (static_cast<std::uint64_t>(w) * 3 + 3) / 4 * 4;
  std::uint64_t data = stride * static_cast<std::uint64_t>(h);
  if (data > 0xFFFFFFFFULL - 54) fail("Picture too large for a bitmap file");
  std::uint32_t ppm = dots_per_metre(picture.twips_per_pixel());

  std::string out(54 + static_cast<std::size_t>(data), '\0');
  char* head = out.data();
  head[0] = 'B', head[1] = 'M';
  put_le(head + 2, static_cast<std::uint32_t>(54 + data), 4);
  put_le(head + 10, 54, 4);  // where the pixels start
  put_le(head + 14, 40, 4);  // information header size
  put_le(head + 18, static_cast<std::uint32_t>(w), 4);
  put_le(head + 22, static_cast<std::uint32_t>(h), 4);  // positive: bottom row first
  put_le(head + 26, 1, 2);                               // planes
  put_le(head + 28, 24, 2);                              // bits per pixel
  put_le(head + 34, static_cast<std::uint32_t>(data), 4);
  put_le(head + 38, ppm, 4);
  put_le(head + 42, ppm, 4);
  for (int y = 0; y < h; ++y) {
    auto* dst = reinterpret_cast<unsigned char*>(out.data()) + 54 +
                stride * static_cast<std::uint64_t>(h - 1 - y);
    const QRgb* src = picture.row(y);
    for (int x = 0; x < w; ++x, dst += 3) {
      dst[0] = static_cast<unsigned char>(qBlue(src[x]));
      dst[1] = static_cast<unsigned char>(qGreen(src[x]));
      dst[2] = static_cast<unsigned char>(qRed(src[x]));
    }
  }
  return out;
}

std::string png_file(const RasterSurface& picture) {
  int w = picture.pixel_width(), h = picture.pixel_height();
  if (w <= 0 || h <= 0) fail("The picture is empty");
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  put_be(header, static_cast<std::uint32_t>(w));
  put_be(header, static_cast<std::uint32_t>(h));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
  png_chunk(out, "IHDR", header.data(), header.size());
  std::string density;
  std::uint32_t ppm = dots_per_metre(picture.twips_per_pixel());
  put_be(density, ppm);
  put_be(density, ppm);
  density += '\x01';  // per metre
  png_chunk(out, "pHYs", density.data(), density.size());

  PngStream data(out);
  auto bytes = static_cast<std::size_t>(w) * 3;
  std::vector<unsigned char> line(1 + bytes);
  for (int y = 0; y < h; ++y) {
    const QRgb* src = picture.row(y);
    if (y > 0 && std::memcmp(src, picture.row(y - 1), static_cast<std::size_t>(w) * sizeof(QRgb)) == 0) {
      data.add_repeated_row(bytes);
      continue;
    }
    line[0] = 0;  // no filter
    unsigned char* dst = line.data() + 1;
    for (int x = 0; x < w; ++x, dst += 3) {
      dst[0] = static_cast<unsigned char>(qRed(src[x]));
      dst[1] = static_cast<unsigned char>(qGreen(src[x]));
      dst[2] = static_cast<unsigned char>(qBlue(src[x]));
    }
    data.add_row(line.data(), line.size());
  }
  data.finish();
  png_chunk(out, "IEND", "", 0);
  return out;
}

}  // namespace zw::qt
