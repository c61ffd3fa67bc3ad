#pragma once
#include <functional>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// Draws the chart of rows 0..count-1 of the selected kind on p1 (and the scale
// ticks on p3).
// A tall chart is held one band at a time: the part in view.
void plot(AppState& s, Host& host, int count);
// For a chart held in bands: draws it band after band from the top, each band
// twips high, calling each once a band is drawn on p1; then shows the part in
// view again. False (nothing drawn) when the chart is held whole.
bool plot_in_bands(AppState& s, Host& host, int count, int band, const std::function<void()>& each);
// Draws a chart held in bands band after band from the top, each band twips
// high: paint draws the band p1 holds, each is called once it is drawn. False
// when the chart is held whole or a band cannot be held.
bool draw_bands(AppState& s, int band, const std::function<void()>& paint,
                const std::function<void()>& each);
// A canvas taller than this is held one band at a time where the surface can.
inline constexpr int whole_canvas_twips = 450000;
// Fits the panes, the scroll bar and the scale labels to the window, then draws.
void resize_chart(AppState& s, Host& host);
// Moves the canvas for the scroll bar's value.
void vs_Scroll(AppState& s, Host& host);

// No chart: no rows, the counter at 0, the scale strip without the previous
// style's columns and level marks, no scroll range, the canvas blank, and no
// files followed for it.
void clear_chart(AppState& s, Host& host);

// The width of one resolution column: the pane less the scroll bar twice and
// the left margin, shared by lowest_resolution .. 24. Fails when the scale has
// no column.
double column_width(const AppState& s);
// Places, captions and shows the scale labels lowest_resolution .. 24 over
// their columns; the level marks of the last analysis stay.
void place_scale_labels(AppState& s);

// What the chart and the chart of a comparison share: the grid's colour, the
// colour of the line references, and the grid itself, drawn on p1 from top to
// bottom with the scale's ticks on p3, from column lowest to 25 at width w,
// each column's left edge at column_x.
constexpr Colour grid_colour = rgb(220, 220, 220);
constexpr Colour line_ref_colour = rgb(90, 90, 140);
inline double column_x(int lowest, double w, int r) {
  return static_cast<double>(r - lowest) * w + 600;
}
void draw_scale_grid(AppState& s, Host& host, int lowest, double w, double top, double bottom);

// What the rule of row i of the selected kind caught in the data file; nullptr
// when the counts are not of the selected style and the data file, or hold no
// rule at the row's line.
const RuleCatch* row_catch(const AppState& s, int i);
// The row of the chart drawn at y twips down the canvas; -1 for none.
int row_at(AppState& s, int y);

// The canvas height for a chart of count rows: the rows plus two, at least the
// window below the scale strip and the pane, and never a sliver.
int canvas_height(AppState& s, Host& host, int count);

}  // namespace zw
