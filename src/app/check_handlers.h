#pragma once
#include "model/state.h"
#include "platform/host.h"

// The handlers of the main window that run the analysis and draw its chart:
// the Check button and the boxes that choose what is checked.
namespace zw {

// The Check button: validates the choices, runs the analysis, draws the chart.
void command2_Click(AppState& s, Host& host);

// The files that the rule file of the kind includes, as read so far, are
// dropped, so that the next run reads them as they are now.
void forget_included_files(AppState& s, int kind);

// Whether any category box is ticked.
bool category_ticked(const AppState& s);
// Runs the analysis again when any category box is ticked.
void chk_plot(AppState& s, Host& host);

// Release handlers of the kind, category, "Include" and "Sort" boxes (after the
// binding has toggled the tick).
void Check3_MouseUp(AppState& s, Host& host, int index);
void Check1_MouseUp(AppState& s, Host& host, int index);
void Check4_MouseUp(AppState& s, Host& host);
void Check2_MouseUp(AppState& s, Host& host);

}  // namespace zw
