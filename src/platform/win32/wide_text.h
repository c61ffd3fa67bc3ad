#pragma once
#include <string>

// Texts between the program (bytes, UTF-8 where typed) and the Windows API
// (UTF-16).
namespace zw::win32 {

// A text or a path of the program as the API takes it: UTF-8 when valid,
// Windows-1252 otherwise, as every binding shows texts.
std::wstring shown(const std::string& bytes);
// A path or a text typed by the user, as the program holds it (UTF-8).
std::string utf8(const std::wstring& text);

}  // namespace zw::win32
