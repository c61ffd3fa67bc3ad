#pragma once
#include <string>

namespace zw::qt {

class RasterSurface;

// A surface's picture as a PNG file (8-bit RGB). Charts are flat colours in
// rows that often repeat: a row like the one above is stored as a difference
// of zeros, any other row unfiltered, and packed at a fast level.
std::string png_file(const RasterSurface& picture);

}  // namespace zw::qt
