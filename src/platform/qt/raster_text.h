#pragma once
#include <QString>
#include <string>

namespace zw::qt {

// The program's texts are bytes. For display they are read as UTF-8 when they
// are valid UTF-8, and as Windows-1252 otherwise, so that styles written with
// either encoding show their names correctly.
QString to_qstring(const std::string& bytes);

// The bytes of a text typed into the window (always UTF-8).
std::string from_qstring(const QString& text);

}  // namespace zw::qt
