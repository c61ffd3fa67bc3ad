#include "platform/raster.h"

#include "platform/qt/raster_app.h"
#include "platform/qt/raster_surface.h"

namespace zw::raster {

void prepare() {
  qt::ensure_app();
}

std::unique_ptr<Surface> make_surface(double twips_per_pixel) {
  return std::make_unique<qt::RasterSurface>(twips_per_pixel);
}

}  // namespace zw::raster
