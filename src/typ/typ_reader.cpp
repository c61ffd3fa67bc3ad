#include "typ/typ_reader.h"

namespace zw {

void loadtyp(AppState& s, Host&, const std::string& path) {
  s.f1.label2.caption = " TYP: " + path;
  s.typ_file = path;
}

}  // namespace zw
