#pragma once
#include <functional>
#include <string>
#include <vector>

#include "model/state.h"
#include "platform/host.h"
#include "platform/win32/control_set.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

// One of the program's dialogs: its caption, its client size, its table of
// controls and the logic its window events run.
struct DialogDefinition {
  std::function<std::string()> caption;
  int width = 0, height = 0;  // client area, twips
  std::vector<Control> controls;
  std::function<void()> load;         // the dialog opens
  std::function<bool()> closing;      // the logic asks the dialog to close
  std::function<void()> frame_close;  // closed by its frame: nothing applied
  std::function<void()> mouse_move;   // the mouse over the dialog's background
};

// The dialogs over their models (s.fontt, s.Infor, s.convert, s.typcheck).
DialogDefinition font_dialog(AppState& s, Host& host);
DialogDefinition about_box(AppState& s, Host& host);
DialogDefinition convert_dialog(AppState& s, Host& host);
DialogDefinition typ_check_dialog(AppState& s, Host& host);

// Shows the dialog modally over owner and returns when it has closed.
void run_dialog(AppState& s, Host& host, Dialog which, HWND owner, double twips_per_pixel);

// The dialog window shown now, and a control of it by name (for tests).
HWND open_dialog();
HWND open_dialog_control(const std::string& name);

}  // namespace zw::win32
