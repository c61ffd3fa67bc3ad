#pragma once
#include <string>

#include "platform/surface.h"

namespace zw::qt {

// Writes a picture as a PNG file; false with error set when it cannot.
bool write_png(const Image& image, const std::string& path, std::string& error);

}  // namespace zw::qt
