#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The window caption: "Zoomwright " + version + " " + style name.
void cap(AppState& s);
// Prints a text on the chart canvas at (1000, 1000).
void msg(AppState& s, Host& host, const std::string& text);

// Clears the canvas p1 and the scale strip p3.
void clearpic(AppState& s, Host& host);

}  // namespace zw
