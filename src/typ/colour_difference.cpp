#include "typ/colour_difference.h"

#include <cmath>
#include <numbers>

namespace zw {
namespace {

double linear(std::uint8_t c) {
  double v = c / 255.0;
  return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

}  // namespace

Lab lab_of(Colour c) {
  double r = linear(c.r), g = linear(c.g), b = linear(c.b);
  // sRGB to XYZ, relative to the D65 white.
  double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
  double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
  auto f = [](double t) {
    return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
  };
  return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

namespace {

double degrees(double radians) {
  return radians * 180 / std::numbers::pi;
}
double radians(double degrees) {
  return degrees * std::numbers::pi / 180;
}

// The hue angle in degrees, 0 .. 360.
double hue(double b, double a) {
  if (a == 0 && b == 0) return 0;
  double h = degrees(std::atan2(b, a));
  return h < 0 ? h + 360 : h;
}

}  // namespace

double ciede2000(Colour c1, Colour c2) {
  return ciede2000(lab_of(c1), lab_of(c2));
}

double ciede2000(Lab x, Lab y) {
  double c_mean = (std::hypot(x.a, x.b) + std::hypot(y.a, y.b)) / 2;
  double c7 = std::pow(c_mean, 7);
  double g = 0.5 * (1 - std::sqrt(c7 / (c7 + std::pow(25.0, 7))));
  double a1 = (1 + g) * x.a, a2 = (1 + g) * y.a;
  double cp1 = std::hypot(a1, x.b), cp2 = std::hypot(a2, y.b);
  double h1 = hue(x.b, a1), h2 = hue(y.b, a2);

  double dl = y.l - x.l, dc = cp2 - cp1;
  double dh = 0;
  if (cp1 * cp2 != 0) {
    dh = h2 - h1;
    if (dh > 180)
      dh -= 360;
    else if (dh < -180)
      dh += 360;
  }
  double dhh = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));

  double l_mean = (x.l + y.l) / 2, cp_mean = (cp1 + cp2) / 2;
  double h_mean = h1 + h2;
  if (cp1 * cp2 != 0) {
    if (std::fabs(h1 - h2) <= 180)
      h_mean /= 2;
    else
      h_mean = h_mean < 360 ? (h_mean + 360) / 2 : (h_mean - 360) / 2;
  }
  double t = 1 - 0.17 * std::cos(radians(h_mean - 30)) + 0.24 * std::cos(radians(2 * h_mean)) +
             0.32 * std::cos(radians(3 * h_mean + 6)) - 0.20 * std::cos(radians(4 * h_mean - 63));
  double l50 = (l_mean - 50) * (l_mean - 50);
  double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
  double sc = 1 + 0.045 * cp_mean;
  double sh = 1 + 0.015 * cp_mean * t;
  double cp7 = std::pow(cp_mean, 7);
  double rt = -2 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7))) *
              std::sin(radians(60 * std::exp(-std::pow((h_mean - 275) / 25, 2))));
  double tl = dl / sl, tc = dc / sc, th = dhh / sh;
  return std::sqrt(tl * tl + tc * tc + th * th + rt * tc * th);
}

}  // namespace zw
