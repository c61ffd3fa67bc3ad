#include "platform/raster.h"

#include "platform/win32/gdi_surface.h"

namespace zw::raster {

void prepare() {}

std::unique_ptr<Surface> make_surface(double twips_per_pixel) {
  return std::make_unique<win32::GdiSurface>(twips_per_pixel);
}

}  // namespace zw::raster
