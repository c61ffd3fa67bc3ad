#pragma once
#include <memory>

#include "model/state.h"
#include "platform/host.h"

class QDialog;
class QWidget;

namespace zw::qt {

// Builds the window of one of the program's dialogs over its model (s.fontt,
// s.Infor, s.convert) and runs the dialog's opening handler. Every widget event
// writes the model and calls the dialog's logic; the widgets then show the model
// again. The dialog accepts when its logic asks to close; closing it by its
// frame rejects and applies nothing.
std::unique_ptr<QDialog> make_dialog(AppState& s, Host& host, Dialog which, QWidget* parent);

// Shows the dialog modally and returns when it has closed.
void run_dialog(AppState& s, Host& host, Dialog which, QWidget* parent);

}  // namespace zw::qt
