#pragma once
#include <string>

#include "app/state.h"
#include "platform/host.h"

namespace zw {

// Reads the options file of the style directory ff into the level table and
// shows its lists in Label4.
void get_levels(AppState& s, Host& host, const std::string& ff);

// The level of a resolution: an exact match, else the first level whose
// resolution lies below it, else the last main level. Decimal text.
std::string chklev(const AppState& s, const std::string& s5);

// chklev of a resolution, or of each end of a range "a-b".
std::string convertrl(const AppState& s, const std::string& ss);

}  // namespace zw
