#include "platform/qt/raster_text.h"

#include "base/display_text.h"

namespace zw::qt {

QString to_qstring(const std::string& bytes) {
  auto text = display_utf16(bytes);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string from_qstring(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

}  // namespace zw::qt
