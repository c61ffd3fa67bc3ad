#include "app/image_export.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/failure.h"
#include "app/text.h"

namespace zw {
namespace {

void put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

void compose_image(AppState& s, Host&) {
  auto& f = s.f1;
  attempt_quietly([&] { f.p4.set_size(f.p1.width(), f.p3.height() + f.p1.height()); });
  attempt_quietly([&] {
    auto& p4 = f.p4.draw();
    p4.set_pixel_scale(false);
    p4.paint_image(f.p3.draw().image(), 0, 0, f.p1.width(), f.p3.height());
  });
  attempt_quietly([&] {
    f.p4.draw().paint_image(f.p1.draw().image(), 0, f.p3.height(), f.p1.width(), f.p1.height());
  });
}

std::optional<std::string> bmp_file_name(const std::string& chosen) {
  if (text::contains(text::lower(chosen), ".bmp")) return chosen;
  if (text::contains(chosen, ".")) return std::nullopt;
  return chosen + ".bmp";
}

bool may_replace(Host& host, const std::string& path) {
  if (!host.fs().file_exists(path)) return true;
  return host.message("Replace file?", Buttons::yes_no) == Answer::yes;
}

std::string encode_bmp(const Image& image, double twips_per_pixel) {
  int w = std::max(0, image.width), h = std::max(0, image.height);
  if (image.pixels.size() != static_cast<std::size_t>(w) * h)
    fail("Invalid picture: " + std::to_string(image.pixels.size()) + " pixels for " +
         std::to_string(w) + " x " + std::to_string(h));
  std::uint64_t stride = (static_cast<std::uint64_t>(w) * 3 + 3) / 4 * 4;
  std::uint64_t data = stride * static_cast<std::uint64_t>(h);
  if (data > 0xFFFFFFFFULL - 54) fail("Picture too large for a bitmap file");
  auto ppm = static_cast<std::uint32_t>(
      std::lround(1440.0 / (twips_per_pixel > 0 ? twips_per_pixel : 15) / 0.0254));

  std::string out;
  out.reserve(54 + static_cast<std::size_t>(data));
  out += "BM";
  put32(out, static_cast<std::uint32_t>(54 + data));
  put32(out, 0);   // reserved
  put32(out, 54);  // where the pixels start
  put32(out, 40);  // information header size
  put32(out, static_cast<std::uint32_t>(w));
  put32(out, static_cast<std::uint32_t>(h));  // positive: bottom row first
  put16(out, 1);                               // planes
  put16(out, 24);                              // bits per pixel
  put32(out, 0);                               // no compression
  put32(out, static_cast<std::uint32_t>(data));
  put32(out, ppm);
  put32(out, ppm);
  put32(out, 0);  // colours used
  put32(out, 0);  // important colours
  std::size_t pad = static_cast<std::size_t>(stride) - static_cast<std::size_t>(w) * 3;
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      Colour c = image.pixels[static_cast<std::size_t>(y) * w + x];
      out += static_cast<char>(c.b);
      out += static_cast<char>(c.g);
      out += static_cast<char>(c.r);
    }
    out.append(pad, '\0');
  }
  return out;
}

bool save_image(AppState& s, Host& host, const std::string& chosen_path) {
  if (chosen_path.empty()) return false;
  compose_image(s, host);
  auto name = bmp_file_name(chosen_path);
  if (!name) {
    host.message("Format not supported");
    return false;
  }
  if (!may_replace(host, *name)) return false;
  std::string bytes, error;
  bool ok = false;
  attempt_quietly([&] {
    auto& p4 = s.f1.p4.draw();
    bytes = encode_bmp(p4.image(), p4.twips_per_pixel());
    ok = true;
  });
  // An image that could not be written must not look saved.
  if (!ok) {
    host.message("Cannot save the image " + *name);
    return false;
  }
  if (!host.fs().write(*name, bytes, error)) {
    host.message(*name + " " + error);
    return false;
  }
  return true;
}

}  // namespace zw
