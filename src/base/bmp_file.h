#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace zw {

// A picture as a Windows bitmap file: file and information headers, 24 bits
// per pixel, rows bottom-up and padded to four bytes, at the resolution of
// the given twips per pixel. row(y) gives row y (top row 0) as width pixels of
// 0x..RRGGBB. Throws when the picture is too large for the format.
std::string bmp_file(int width, int height, double twips_per_pixel,
                     const std::function<const std::uint32_t*(int y)>& row);

// The same file made piece by piece: its headers (throws when the picture is
// too large for the format), then each row's bytes at bmp_row_offset.
std::string bmp_headers(int width, int height, double twips_per_pixel);
// The bytes of a row, padding included.
std::uint64_t bmp_stride(int width);
// Where row y (top row 0) starts in the file.
std::uint64_t bmp_row_offset(int width, int height, int y);
// Writes width pixels (0x..RRGGBB) as a row's bytes at out; the padding is
// left as it is.
void bmp_put_pixels(char* out, int width, const std::uint32_t* row);

// Dots per metre of a picture drawn at the given twips per pixel.
std::uint32_t dots_per_metre(double twips_per_pixel);

}  // namespace zw
