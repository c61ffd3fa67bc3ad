#include "platform/win32/wide_text.h"

#include "base/display_text.h"

namespace zw::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows texts are UTF-16");

std::wstring shown(const std::string& bytes) {
  auto text = display_utf16(bytes);
  return std::wstring(text.begin(), text.end());
}

std::string utf8(const std::wstring& text) {
  return typed_utf8(std::u16string(text.begin(), text.end()));
}

}  // namespace zw::win32
