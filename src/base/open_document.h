#pragma once
#include <string>

#include "platform/host.h"

namespace zw {

// Opens a page in the system's browser, or with edit a text file in its editor.
// When no program can be started, a message says what could not be opened and
// where the file is, so that the user can open it by hand.
void open_document(Host& host, const std::string& path, bool edit, const std::string& what,
                   int line = 0);
std::string cannot_open_message(const std::string& what, const std::string& path);

}  // namespace zw
