#pragma once
#include <functional>
#include <string>
#include <vector>

#include "analysis/style_diff.h"
#include "model/state.h"
#include "platform/host.h"

namespace zw {

inline constexpr Colour old_bar_colour = rgb(0, 0, 255);
inline constexpr Colour new_bar_colour = rgb(230, 120, 0);

// One rule that two styles draw differently: its row in either style (null
// where it has none).
struct DiffChartRow {
  int kind = 0;
  RuleChange change = RuleChange::moved;
  const RuleRow* old_row = nullptr;
  const RuleRow* new_row = nullptr;
};

struct DiffChart {
  std::vector<DiffChartRow> rows;  // grouped by kind, in the order they are drawn
  std::string old_legend, new_legend;
};

// Draws the comparison on p1 over the scale from lowest_resolution to 24 (ticks
// on p3, scale labels placed): a legend, then per kind a heading and one row
// per rule with the old bar above the new bar, its lowest resolutions, type,
// both line references, drawn levels and rule text. Every rule is drawn: a tall
// comparison is held in bands, the top one drawn. False, after the failure's
// message, when the canvas cannot be made that large.
bool plot_diff(AppState& s, Host& host, const DiffChart& chart);
// For a comparison held in bands: draws it band after band from the top, each
// band twips high, calling each once a band is on p1 (for its image).
bool plot_diff_in_bands(AppState& s, Host& host, const DiffChart& chart, int band,
                        const std::function<void()>& each);

}  // namespace zw
