#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The analysis run over the style directory path (with a trailing separator).
void parse(AppState& s, Host& host, const std::string& path);

// Whether a style folder holds any file at all.
bool has_files(Host& host, const std::string& dir);

// The style directory of the selected style, with a trailing separator.
std::string style_directory(const AppState& s, const std::string& name);

}  // namespace zw
