#include "platform/qt/raster_image_file.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "app/bmp_file.h"
#include "app/failure.h"
#include "platform/qt/raster_png_stream.h"
#include "platform/qt/raster_surface.h"

namespace zw::qt {
namespace {

void put_be(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

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
