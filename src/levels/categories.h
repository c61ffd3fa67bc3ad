#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The default content of a kind's category file (its two lines joined by CR LF,
// without the final CR LF that savetext adds).
std::string default_categories(int kind);

// Writes the three default category files into system_dir: each missing one,
// or all three when aa (rewrite) is set.
void savefiles(AppState& s, Host& host, bool aa);
// Loads the category file of selected_kind into the boxes (start-up).
void loadoptions(AppState& s, Host& host);
// Reads one category file into the category boxes.
void loadop(AppState& s, Host& host, const std::string& path, const std::string& kind);

// The category file of a kind in system_dir.
std::string category_file(const AppState& s, int kind);

// Release handlers of the kind, category, "Include" and "Sort" boxes (after the
// binding has toggled the tick).
void Check3_MouseUp(AppState& s, Host& host, int index);
void Check1_MouseUp(AppState& s, Host& host, int index);
void Check4_MouseUp(AppState& s, Host& host);
void Check2_MouseUp(AppState& s, Host& host);

}  // namespace zw
