#include "platform/qt/raster_text.h"

#include <QByteArray>
#include <QStringDecoder>

namespace zw::qt {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unused codes
// stay as their C1 control characters.
constexpr char16_t cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString to_qstring(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!utf8.hasError()) return text;
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (unsigned char c : bytes)
    out.append(c >= 0x80 && c < 0xA0 ? QChar(cp1252_high[c - 0x80]) : QChar(c));
  return out;
}

std::string from_qstring(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace zw::qt
