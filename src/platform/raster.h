#pragma once
#include <memory>
#include <string>

#include "platform/surface.h"

// Drawing surfaces that paint into memory, and image files of their pictures,
// as the platform the program is built for makes them (Qt's raster on Linux
// and macOS, GDI on Windows). The batch front end draws its charts on these.
namespace zw::raster {

// Prepares the drawing system for a run without a window.
void prepare();
// A surface whose pixels are twips_per_pixel twips wide.
std::unique_ptr<Surface> make_surface(double twips_per_pixel);
// The bytes of a PNG file of the picture; false with error set when it cannot
// be encoded.
bool encode_png(const Image& image, std::string& bytes, std::string& error);

}  // namespace zw::raster
