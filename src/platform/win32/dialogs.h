#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"
#include "platform/win32/control_set.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

// Shows the dialog modally over owner and returns when it has closed.
void run_dialog(AppState& s, Host& host, Dialog which, HWND owner, double twips_per_pixel);

// The dialog window shown now, and a control of it by name (for tests).
HWND open_dialog();
HWND open_dialog_control(const std::string& name);

}  // namespace zw::win32
