#pragma once
#include <string>
#include <string_view>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The key a row's type code is looked up by in the TYP tables: five lower-case
// characters, the hexadecimal number as mkgmap reads it (0x2f is 02f00, 0x2f06
// 02f06, 0x010200 10200); a code that is no such number padded with "0" on the left.
std::string type_key(std::string_view rule_type);

// Draws the TYP swatch of result row i of the selected kind on p4. Each returns
// true when the TYP file has no entry for the row's type (the type key is then
// listed once in Text3), false when a picture was drawn.
bool plotline(AppState& s, Host& host, int i);
bool plotpolygon(AppState& s, Host& host, int i);
bool plotpoint(AppState& s, Host& host, int i);

}  // namespace zw
