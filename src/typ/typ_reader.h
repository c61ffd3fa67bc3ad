#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// Reads a TYP text file into the TYP tables of all three kinds and names it in
// the "TYP" box. The file is bytes as written; nothing is re-encoded. False,
// after a message naming the file, when it holds no TYP section at all.
bool loadtyp(AppState& s, Host& host, const std::string& path);
std::string no_typ_section_message(const std::string& path);

// Fill the polygon and the point tables from the whole text of a TYP file.
void loadpolygons(AppState& s, Host& host, const std::string& all);
void loadpoints(AppState& s, Host& host, const std::string& all);

}  // namespace zw
