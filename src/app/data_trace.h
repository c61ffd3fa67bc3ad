#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// Runs the selected style's rules over the data file into s.data, when the
// counts there are of another style or file; with no data file, clears them.
// A file that cannot be read, or a style the rules cannot be read from, is
// named in a message and leaves no counts.
void refresh_data_counts(AppState& s, Host& host);

// File > "Open Data file": chooses the OSM data, counts, draws the chart again.
void open_data_file(AppState& s, Host& host);
// File > "Close Data file": the chart goes back to rows without counts.
void close_data_file(AppState& s, Host& host);
// The menu item that closes the data file is off without one.
void show_data_file(AppState& s);

// A double-click on the chart: lists what the rule of the row under the mouse
// caught in the data file.
void chart_DblClick(AppState& s, Host& host);

}  // namespace zw
