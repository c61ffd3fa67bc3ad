#pragma once
#include <cstdint>

namespace zw {

// A red-green-blue triple, as the window and the chart use it.
struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Colour, Colour) = default;
};

constexpr Colour rgb(int r, int g, int b) {
  return Colour{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                static_cast<std::uint8_t>(b)};
}

namespace colours {
constexpr Colour black = rgb(0, 0, 0);
constexpr Colour white = rgb(255, 255, 255);
constexpr Colour dark_red = rgb(128, 0, 0);
constexpr Colour blue = rgb(0, 0, 255);
constexpr Colour red = rgb(255, 0, 0);
constexpr Colour button_face = rgb(236, 233, 216);
}  // namespace colours

}  // namespace zw
