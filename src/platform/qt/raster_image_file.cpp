#include "platform/qt/raster_image_file.h"

#include <QImageWriter>

#include "platform/qt/raster_surface.h"

namespace zw::qt {

bool write_png(const Image& image, const std::string& path, std::string& error) {
  QImage picture = to_qimage(image);
  if (picture.isNull()) {
    error = "the picture is empty";
    return false;
  }
  QImageWriter writer(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), "png");
  if (writer.write(picture)) return true;
  error = writer.errorString().toStdString();
  return false;
}

}  // namespace zw::qt
