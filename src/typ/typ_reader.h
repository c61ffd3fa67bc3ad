#pragma once
#include <string>

#include "app/state.h"
#include "platform/host.h"

namespace zw {

// Reads a TYP text file into the TYP tables and names it in the "TYP" box.
void loadtyp(AppState& s, Host& host, const std::string& path);

}  // namespace zw
