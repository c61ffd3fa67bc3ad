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

// The same file made row by row: the headers, and every pixel the
// background (0xRRGGBB) until its row is put.
std::string bmp_blank_file(int width, int height, double twips_per_pixel, std::uint32_t back);
// Puts row y (top row 0) of width pixels into a file made by bmp_blank_file.
void bmp_put_row(std::string& file, int width, int height, int y, const std::uint32_t* row);

// Dots per metre of a picture drawn at the given twips per pixel.
std::uint32_t dots_per_metre(double twips_per_pixel);

}  // namespace zw
