#include "app/bmp_file.h"

#include <algorithm>
#include <cmath>

#include "app/failure.h"

namespace zw {
namespace {

void put_le(char* at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::uint32_t dots_per_metre(double twips_per_pixel) {
  return static_cast<std::uint32_t>(
      std::lround(1440.0 / (twips_per_pixel > 0 ? twips_per_pixel : 15) / 0.0254));
}

std::string bmp_file(int width, int height, double twips_per_pixel,
                     const std::function<const std::uint32_t*(int y)>& row) {
  int w = std::max(0, width), h = std::max(0, height);
  std::uint64_t stride = (static_cast<std::uint64_t>(w) * 3 + 3) / 4 * 4;
  std::uint64_t data = stride * static_cast<std::uint64_t>(h);
  if (data > 0xFFFFFFFFULL - 54) fail("Picture too large for a bitmap file");
  std::uint32_t ppm = dots_per_metre(twips_per_pixel);

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
    const std::uint32_t* src = row(y);
    for (int x = 0; x < w; ++x, dst += 3) {
      dst[0] = static_cast<unsigned char>(src[x] & 0xFF);
      dst[1] = static_cast<unsigned char>((src[x] >> 8) & 0xFF);
      dst[2] = static_cast<unsigned char>((src[x] >> 16) & 0xFF);
    }
  }
  return out;
}

}  // namespace zw
