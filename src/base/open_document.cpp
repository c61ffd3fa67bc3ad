#include "base/open_document.h"

#include "base/failure.h"

namespace zw {

std::string cannot_open_message(const std::string& what, const std::string& path) {
  return "Cannot open " + what + ": no program could be started for it.\r\n\r\nThe file is " + path;
}

void open_document(Host& host, const std::string& path, bool edit, const std::string& what,
                   int line) {
  bool opened = false;
  attempt_quietly([&] { opened = edit ? host.edit_text_file(path, line) : host.shell_open(path); });
  if (!opened) host.message(cannot_open_message(what, path));
}

}  // namespace zw
