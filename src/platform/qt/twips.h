#pragma once
#include <QRect>
#include <cmath>

#include "platform/controls.h"

// The window's model measures in twips; widgets in logical pixels of the screen.
namespace zw::qt {

inline int to_pixels(double twips, double twips_per_pixel) {
  return static_cast<int>(std::lround(twips / twips_per_pixel));
}
inline int to_twips(int pixels, double twips_per_pixel) {
  return static_cast<int>(std::lround(pixels * twips_per_pixel));
}
inline QRect to_pixels(const Bounds& b, double tpp) {
  return QRect(to_pixels(b.left, tpp), to_pixels(b.top, tpp), to_pixels(b.width, tpp),
               to_pixels(b.height, tpp));
}
// Twips per logical pixel at a screen's logical dots per inch (15 at 96).
inline double twips_per_pixel_at(double logical_dpi) {
  return logical_dpi > 0 ? 1440.0 / logical_dpi : 15.0;
}

}  // namespace zw::qt
