#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The default content of a kind's category file (its two lines joined by CR LF,
// without the final CR LF that savetext adds).
std::string default_categories(int kind);

// Writes the three default category files into system_dir: each missing one,
// or all three when rewrite_all is set.
void savefiles(AppState& s, Host& host, bool rewrite_all);
// Loads the category file of selected_kind into the boxes (start-up).
void loadoptions(AppState& s, Host& host);
// Reads one category file into the category boxes.
void loadop(AppState& s, Host& host, const std::string& path, const std::string& kind);

// The category file of a kind in system_dir.
std::string category_file(const AppState& s, int kind);

}  // namespace zw
