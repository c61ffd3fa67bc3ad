#pragma once
#include <string>

namespace zw {

// The program's texts are bytes. For display they are read as UTF-8 when they
// are valid UTF-8, and as Windows-1252 otherwise, so that styles written with
// either encoding show their names correctly. Every window binding shows texts
// through this one decoding.
std::u16string display_utf16(const std::string& bytes);

// The bytes of a text typed into a window: UTF-16 as the window system holds
// it, written as UTF-8 (a lone surrogate becomes U+FFFD).
std::string typed_utf8(const std::u16string& text);

}  // namespace zw
