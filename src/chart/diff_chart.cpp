#include "chart/diff_chart.h"

#include <algorithm>

#include "base/failure.h"
#include "model/caption_and_canvas.h"
#include "base/numbers.h"
#include "base/text.h"
#include "chart/chart.h"
#include "levels/drawn_levels.h"

namespace zw {
namespace {

constexpr int bar_height = 45;
constexpr int bar_gap = 90;  // from the old bar's top to the new bar's top

struct Layout {
  int lowest = 24;
  double w = 0;   // column width
  double th = 0;  // text height
  double x(int r) const { return column_x(lowest, w, r); }
  double rule_pitch() const { return num::to_int(th + 400); }
  double heading_pitch() const { return num::to_int(th + 200); }
};

std::string shown_text(const RuleRow& r) {
  auto t = r.text;
  while (!t.empty() && (t.back() == '\r' || t.back() == '\n')) t.pop_back();
  return t;
}

std::string from_text(const DiffChartRow& row) {
  if (!row.old_row) return text::decimal(row.new_row->from);
  if (!row.new_row || row.new_row->from == row.old_row->from)
    return text::decimal(row.old_row->from);
  return text::decimal(row.old_row->from) + ">" + text::decimal(row.new_row->from);
}

void draw_bar(Surface& p1, const Layout& lay, const RuleRow& r, double top, Colour c) {
  double start = lay.x(std::max(r.from, lay.lowest));
  double end = lay.x(r.to + 1);
  p1.fill_rect(start, top, end, top + bar_height, c);
  // The stop tick of a rule that does not continue, short enough to leave the
  // other bar clear.
  if (!r.cont) p1.fill_rect(end - 10, top - 20, end + 20, top + bar_height + 20, c);
}

void draw_rule(Surface& p1, const Layout& lay, const DiffChartRow& row, double y) {
  if (!row.old_row && !row.new_row) return;
  const RuleRow& any = row.new_row ? *row.new_row : *row.old_row;
  p1.set_fore(colours::black);
  p1.move_to(670, y + 100);
  p1.set_bold(true);
  p1.print(std::string(1, ' ').append(from_text(row)));
  p1.set_bold(false);
  p1.move_to(p1.current_x() + p1.text_width("000") / 2, p1.current_y());
  double type_x = p1.current_x() + p1.text_width("XXXXX");
  p1.print(any.type);
  p1.move_to(std::max(type_x, p1.current_x()), p1.current_y());
  p1.set_fore(line_ref_colour);
  p1.print((row.old_row ? row.old_row->line : "-") + " > " +
           (row.new_row ? row.new_row->line : "-") + "  ");
  p1.set_fore(colours::black);
  p1.print(std::string(change_name(row.change)) + "  levels " +
           (row.old_row ? level_ranges(row.old_row->levels) : "-") + " > " +
           (row.new_row ? level_ranges(row.new_row->levels) : "-") + "  " + shown_text(any) + " ");

  double top = y + 100 + lay.th + 60;
  if (row.old_row) draw_bar(p1, lay, *row.old_row, top, old_bar_colour);
  if (row.new_row) draw_bar(p1, lay, *row.new_row, top + bar_gap, new_bar_colour);
}

void draw_heading(Surface& p1, const DiffChart& chart, std::size_t first, double y) {
  int kind = chart.rows[first].kind;
  int counts[rule_changes] = {};
  for (std::size_t i = first; i < chart.rows.size() && chart.rows[i].kind == kind; ++i)
    ++counts[static_cast<int>(chart.rows[i].change)];
  p1.set_fore(colours::black);
  p1.move_to(670, y + 100);
  p1.set_bold(true);
  p1.print(std::string(kind_name(kind)) + ":  " + text::decimal(counts[int(RuleChange::moved)]) +
           " moved, " + text::decimal(counts[int(RuleChange::old_only)]) + " old-only, " +
           text::decimal(counts[int(RuleChange::new_only)]) + " new-only");
  p1.set_bold(false);
}

double draw_legend(Surface& p1, const Layout& lay, const DiffChart& chart) {
  double y = 80;
  for (auto [colour, label] : {std::pair{old_bar_colour, "old  " + chart.old_legend},
                               std::pair{new_bar_colour, "new  " + chart.new_legend}}) {
    double mid = y + lay.th / 2;
    p1.fill_rect(670, mid - bar_height / 2.0, 1270, mid + bar_height / 2.0, colour);
    p1.set_fore(colours::black);
    p1.move_to(1400, y);
    p1.print(label);
    y += lay.th + 80;
  }
  return y + 100;
}

// The part below a row's top that a rule or a heading draws on.
constexpr int row_reach = 700;
// A tall comparison is held in bands of this height (twips) when drawn.
constexpr int held_band = 30000;

Layout diff_layout(AppState& s, Host& host) {
  Layout lay;
  lay.lowest = s.lowest_resolution;
  attempt(host, [&] {
    lay.w = num::to_int(column_width(s));
    place_scale_labels(s);
  });
  attempt(host, [&] { lay.th = s.f1.p1.draw().text_height("X"); });
  return lay;
}

// Draws the part of the comparison that p1 holds: rows outside it are passed
// over, so that a comparison of any length is drawn band by band.
void draw_held(AppState& s, Host& host, const DiffChart& chart, const Layout& lay) {
  auto& f = s.f1;
  clearpic(s, host);
  double band_top = f.p1.band_top(), band_bottom = band_top + f.p1.band_height();
  auto shows = [&](double y) { return y + row_reach >= band_top && y <= band_bottom; };
  double y = 0, top = 0;
  attempt(host, [&] { y = top = draw_legend(f.p1.draw(), lay, chart); });
  if (chart.rows.empty())
    attempt(host, [&] {
      auto& p1 = f.p1.draw();
      p1.move_to(670, y + 100);
      p1.print("Every rule is drawn at the same levels.");
    });
  if (chart.rows.empty()) y += lay.heading_pitch();
  if (!chart.rows.empty()) host.set_busy(true);
  for (std::size_t i = 0; i < chart.rows.size(); ++i) {
    const auto& row = chart.rows[i];
    if (i == 0 || row.kind != chart.rows[i - 1].kind) {
      if (shows(y)) attempt(host, [&] { draw_heading(f.p1.draw(), chart, i, y); });
      y += lay.heading_pitch();
    }
    if (shows(y)) attempt(host, [&] { draw_rule(f.p1.draw(), lay, row, y); });
    y += lay.rule_pitch();
  }
  attempt(host, [&] {
    auto& p1 = f.p1.draw();
    p1.move_to(30, y + 100);
    p1.print("\tCompared with Zoomwright " + s.app_version + "   " + host.today());
  });

  // The grid over the bars, as on the chart.
  draw_scale_grid(s, host, lay.lowest, lay.w, top, y);
  host.set_busy(false);
}

}  // namespace

bool plot_diff(AppState& s, Host& host, const DiffChart& chart) {
  auto& f = s.f1;
  Layout lay = diff_layout(s, host);

  // The canvas fits the legend, the headings and the rows exactly.
  double need = 80 + 2 * (lay.th + 80) + 100 + lay.heading_pitch() + 2 * lay.th + 300;
  for (std::size_t i = 0; i < chart.rows.size(); ++i) {
    if (i == 0 || chart.rows[i].kind != chart.rows[i - 1].kind) need += lay.heading_pitch();
    need += lay.rule_pitch();
  }
  bool sized = false;
  attempt(host, [&] {
    int height = std::max(1000, num::to_int(need));
    // A tall comparison is held from the top, one band at a time.
    if (height <= whole_canvas_twips || !f.p1.hold_band(0, std::min(held_band, height)))
      f.p1.hold_whole();
    f.p1.set_height(height);
    sized = true;
  });
  if (!sized) return false;
  draw_held(s, host, chart, lay);
  return true;
}

bool plot_diff_in_bands(AppState& s, Host& host, const DiffChart& chart, int band,
                        const std::function<void()>& each) {
  Layout lay = diff_layout(s, host);
  return draw_bands(
      s, band, [&] { draw_held(s, host, chart, lay); }, each);
}

}  // namespace zw
