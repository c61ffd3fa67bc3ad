#pragma once
#include <memory>
#include <string>

#include "platform/surface.h"

// Drawing surfaces that paint into memory, whose pictures become image files,
// as the platform the program is built for makes them (Qt's raster on Linux
// and macOS, GDI on Windows). The batch front end draws its charts on these.
namespace zw::raster {

// Prepares the drawing system for a run without a window.
void prepare();
// A surface whose pixels are twips_per_pixel twips wide; its encode() writes
// its picture as an image file.
std::unique_ptr<Surface> make_surface(double twips_per_pixel);

}  // namespace zw::raster
