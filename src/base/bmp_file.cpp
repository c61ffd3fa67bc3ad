#include "base/bmp_file.h"

#include <algorithm>
#include <cmath>

#include "base/failure.h"

namespace zw {
namespace {

void put_le(char* at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

constexpr std::uint64_t header_bytes = 54;

}  // namespace

std::uint32_t dots_per_metre(double twips_per_pixel) {
  return static_cast<std::uint32_t>(
      std::lround(1440.0 / (twips_per_pixel > 0 ? twips_per_pixel : 15) / 0.0254));
}

std::uint64_t bmp_stride(int width) {
  return (static_cast<std::uint64_t>(std::max(0, width)) * 3 + 3) / 4 * 4;
}

std::uint64_t bmp_row_offset(int width, int height, int y) {
  return header_bytes + bmp_stride(width) * static_cast<std::uint64_t>(std::max(0, height - 1 - y));
}

std::string bmp_headers(int width, int height, double twips_per_pixel) {
  int w = std::max(0, width), h = std::max(0, height);
  std::uint64_t data = bmp_stride(w) * static_cast<std::uint64_t>(h);
  if (data > 0xFFFFFFFFULL - header_bytes) fail("Picture too large for a bitmap file");
  std::uint32_t ppm = dots_per_metre(twips_per_pixel);

  std::string out(header_bytes, '\0');
  char* head = out.data();
  head[0] = 'B', head[1] = 'M';
  put_le(head + 2, static_cast<std::uint32_t>(header_bytes + data), 4);
  put_le(head + 10, header_bytes, 4);  // where the pixels start
  put_le(head + 14, 40, 4);            // information header size
  put_le(head + 18, static_cast<std::uint32_t>(w), 4);
  put_le(head + 22, static_cast<std::uint32_t>(h), 4);  // positive: bottom row first
  put_le(head + 26, 1, 2);                              // planes
  put_le(head + 28, 24, 2);                             // bits per pixel
  put_le(head + 34, static_cast<std::uint32_t>(data), 4);
  put_le(head + 38, ppm, 4);
  put_le(head + 42, ppm, 4);
  return out;
}

void bmp_put_pixels(char* out, int width, const std::uint32_t* src) {
  auto* dst = reinterpret_cast<unsigned char*>(out);
  for (int x = 0; x < width; ++x, dst += 3) {
    dst[0] = static_cast<unsigned char>(src[x] & 0xFF);
    dst[1] = static_cast<unsigned char>((src[x] >> 8) & 0xFF);
    dst[2] = static_cast<unsigned char>((src[x] >> 16) & 0xFF);
  }
}

std::string bmp_file(int width, int height, double twips_per_pixel,
                     const std::function<const std::uint32_t*(int y)>& row) {
  auto out = bmp_headers(width, height, twips_per_pixel);
  out.resize(static_cast<std::size_t>(
      header_bytes + bmp_stride(width) * static_cast<std::uint64_t>(std::max(0, height))));
  for (int y = 0; y < height; ++y)
    bmp_put_pixels(out.data() + bmp_row_offset(width, height, y), width, row(y));
  return out;
}

}  // namespace zw
