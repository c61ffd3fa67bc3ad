#include "platform/qt/raster_image_file.h"

#include <QBuffer>
#include <QImageWriter>

#include "platform/qt/raster_surface.h"

namespace zw::qt {

bool encode_png(const Image& image, std::string& bytes, std::string& error) {
  QImage picture = to_qimage(image);
  if (picture.isNull()) {
    error = "the picture is empty";
    return false;
  }
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(picture)) {
    error = writer.errorString().toStdString();
    return false;
  }
  bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
  return true;
}

}  // namespace zw::qt
