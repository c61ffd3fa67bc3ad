#include "platform/raster.h"

#include <QBuffer>
#include <QImageWriter>

#include "platform/qt/raster_app.h"
#include "platform/qt/raster_surface.h"

namespace zw::raster {

void prepare() { qt::ensure_app(); }

std::unique_ptr<Surface> make_surface(double twips_per_pixel) {
  return std::make_unique<qt::RasterSurface>(twips_per_pixel);
}

bool encode_png(const Image& image, std::string& bytes, std::string& error) {
  QImage picture = qt::to_qimage(image);
  if (picture.isNull()) {
    error = "the picture is empty";
    return false;
  }
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(picture)) {
    error = writer.errorString().toStdString();
    return false;
  }
  bytes.assign(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
  return true;
}

}  // namespace zw::raster
