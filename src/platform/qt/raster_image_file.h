#pragma once
#include <string>

#include "platform/surface.h"

namespace zw::qt {

// The bytes of a PNG file of the picture; false with error set when it cannot
// be encoded. The file itself is written through the program's file system.
bool encode_png(const Image& image, std::string& bytes, std::string& error);

}  // namespace zw::qt
