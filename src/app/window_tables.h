#pragma once
#include "model/state.h"
#include "platform/control_table.h"
#include "platform/host.h"

namespace zw {

// Every window and dialog, described once: both bindings build, wire and
// mirror their controls from these tables, so a control added here appears,
// and runs the same handler, on every platform.
WindowTable main_window_table(AppState& s, Host& host);
WindowTable dialog_table(AppState& s, Host& host, Dialog which);

}  // namespace zw
