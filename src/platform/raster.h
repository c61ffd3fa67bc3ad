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

// The same two as a module of their own, which the batch program loads only
// when a command draws: the libraries under Qt cost more to load than most
// commands take to run.
struct Module {
  void (*prepare)();
  Surface* (*make_surface)(double twips_per_pixel);
};
// The module's one exported function returns its table.
inline constexpr const char* module_entry = "zw_raster_module";
inline constexpr const char* module_file = "zoomwright-raster.so";

}  // namespace zw::raster
