#include "platform/raster.h"

// The entry point of the drawing module (see platform/raster.h); in a program
// linked with the surfaces directly it is never called.
extern "C" __attribute__((visibility("default"))) const zw::raster::Module* zw_raster_module() {
  static const zw::raster::Module module = {
      zw::raster::prepare,
      [](double twips_per_pixel) { return zw::raster::make_surface(twips_per_pixel).release(); }};
  return &module;
}
