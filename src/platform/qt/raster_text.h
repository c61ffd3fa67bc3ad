#pragma once
#include <QString>
#include <string>

namespace zw::qt {

// A text shown in the window, decoded as every binding decodes it
// (display_utf16: UTF-8 when valid, Windows-1252 otherwise).
QString to_qstring(const std::string& bytes);

// The bytes of a text typed into the window (always UTF-8).
std::string from_qstring(const QString& text);

}  // namespace zw::qt
