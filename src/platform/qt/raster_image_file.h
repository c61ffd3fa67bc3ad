#pragma once
#include <string>

namespace zw::qt {

class RasterSurface;

// A surface's picture as a Windows bitmap file: file and information headers,
// 24 bits per pixel, rows bottom-up and padded to four bytes.
std::string bmp_file(const RasterSurface& picture);

// A surface's picture as a PNG file (8-bit RGB). Charts are flat colours in
// rows that often repeat: a row like the one above is stored as a difference
// of zeros, any other row unfiltered, and packed at a fast level.
std::string png_file(const RasterSurface& picture);

}  // namespace zw::qt
