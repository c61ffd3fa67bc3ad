#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// Reads the options file of the style directory ff into the level table and
// shows its lists in Label4.
void get_levels(AppState& s, Host& host, const std::string& ff);

// The level of a resolution, so that mkgmap draws it at the same main levels:
// an exact match; else, between two main levels, the finer of them (for the
// upper end of a range, the coarser); else the first level whose resolution
// lies below it; else the last main level. Decimal text.
std::string chklev(const AppState& s, const std::string& s5, bool upper_end = false);

// chklev of a resolution, or of each end of a range "a-b" (order kept).
std::string convertrl(const AppState& s, const std::string& ss);

}  // namespace zw
