#pragma once
#include <QColor>
#include <QString>
#include <string>

#include "platform/colour.h"

// Where the core's byte texts meet Qt's strings.
namespace zw::qt {

// A core text for display: UTF-8 when it is valid UTF-8, Windows-1252 otherwise,
// so that style files in either encoding show their accents.
QString to_qstring(const std::string& bytes);
// A text typed by the user, as UTF-8 bytes.
std::string from_qstring(const QString& text);

inline QColor to_qcolor(Colour c) { return QColor(c.r, c.g, c.b); }

}  // namespace zw::qt
