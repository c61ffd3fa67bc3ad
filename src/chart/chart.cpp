#include "chart/chart.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <unordered_map>

#include "analysis/analysis.h"
#include "analysis/includes.h"
#include "base/failure.h"
#include "model/caption_and_canvas.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "chart/swatches.h"
#include "typ/typ_check.h"

namespace zw {
namespace {

constexpr Colour plain_bar = rgb(100, 100, 100);
constexpr Colour continue_bar = rgb(120, 120, 140);
constexpr Colour bright_green = rgb(0, 255, 0);
constexpr Colour green = rgb(0, 128, 0);
constexpr Colour faded_bar = rgb(180, 180, 180);
constexpr Colour caught_colour = rgb(0, 100, 160);

// The leading hexadecimal digits of a type code; 0 without any.
unsigned long long hex_value(const std::string& t) {
  unsigned long long v = 0;
  for (char c : t) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      break;
    if (v > (ULLONG_MAX >> 4)) return ULLONG_MAX;
    v = v * 16 + static_cast<unsigned>(d);
  }
  return v;
}

struct Row {
  std::string type, text, line;
  int from = 0, to = 0;
  bool cont = false;
};

Row read_row(const AppState& s, int i) {
  const auto& t = s.results;
  long long k = s.selected_kind;
  Row r;
  r.type = bounded(bounded(t.rule_type, k, "rule_type"), i, "rule_type");
  r.text = bounded(bounded(t.rule_text, k, "rule_text"), i, "rule_text");
  r.line = bounded(bounded(t.rule_line, k, "rule_line"), i, "rule_line");
  r.from = bounded(bounded(t.res_from, k, "res_from"), i, "res_from");
  r.to = bounded(bounded(t.res_to, k, "res_to"), i, "res_to");
  r.cont = bounded(bounded(t.rule_continue, k, "rule_continue"), i, "rule_continue") != 0;
  return r;
}

// Rules that start below the last main level are drawn red. A style without a
// main level list has no such rules (rather than one failure per row).
bool below_main_levels(const AppState& s, int from) {
  const auto& lv = s.levels;
  if (lv.main_level_last < 0 || static_cast<std::size_t>(lv.main_level_last) >= lv.level_res.size())
    return false;
  return from < lv.level_res[static_cast<std::size_t>(lv.main_level_last)];
}

Colour bar_colour(const AppState& s, const Row& r) {
  Colour c = plain_bar;
  if (r.cont) c = continue_bar;
  if (s.selected_kind == 1 && !r.type.empty()) {
    auto v = hex_value(r.type);
    if (v < 0x18 && v != 0x14 && v != 0x15) c = r.cont ? bright_green : green;
  }
  if (below_main_levels(s, r.from)) c = colours::dark_red;
  if (r.cont && s.f1.Check2.value != 1) {
    if (c != bright_green) c = faded_bar;
    if (below_main_levels(s, r.from)) c = colours::dark_red;
  }
  return c;
}

// "Overview Only" keeps the rules that reach the first overview level; a
// style without overview levels has nothing to filter by.
bool filtered_out(const AppState& s, const Row& r) {
  if (s.f1.ovw.value == 1 && !s.levels.overview_res.empty() && r.from > s.levels.overview_res[0])
    return true;
  return r.from < s.lowest_resolution;
}

// How many of the first count rows the chart draws: those the filters keep,
// up to the end of the table.
int rows_drawn(const AppState& s, int count) {
  const auto& from = bounded(s.results.res_from, s.selected_kind, "kind");
  int last = std::min(count, static_cast<int>(std::min<std::size_t>(from.size(), INT_MAX)));
  int n = 0;
  for (int i = 0; i < last; ++i) {
    Row probe;
    probe.from = from[static_cast<std::size_t>(i)];
    if (!filtered_out(s, probe)) ++n;
  }
  return n;
}

struct Layout {
  double th = 0;  // height of "X"
  int w = 0;      // column width
  int lowest = 24;
  int bar_offset = 170;
  double w000 = 0;
  double x(int r) const { return column_x(lowest, w, r); }
};

// The swatches of one drawing by row type: a type's swatch is the same on
// every row, and thousands of rows share a few hundred types.
struct Swatch {
  bool missing = true;
  Image picture;
};
using Swatches = std::unordered_map<std::string, Swatch>;

// Draws the TYP swatch of row i when the TYP option is on; "?" marks a type
// the file lacks.
void draw_swatch(AppState& s, Host& host, int i, int y, Swatches& drawn) {
  auto& f = s.f1;
  if (f.label2.value != 1 || s.typ_file.empty()) return;
  int kind = f.Check3[1].value == 1   ? 1
             : f.Check3[0].value == 1 ? 0
             : f.Check3[2].value == 1 ? 2
                                      : -1;
  if (kind < 0) return;
  std::string type(
      bounded(bounded(s.results.rule_type, s.selected_kind, "rule_type"), i, "rule_type"));
  auto known = drawn.find(type);
  if (known == drawn.end()) {
    Swatch swatch;
    swatch.missing = kind == 1   ? plotline(s, host, i)
                     : kind == 0 ? plotpolygon(s, host, i)
                                 : plotpoint(s, host, i);
    if (!swatch.missing) swatch.picture = f.p4.draw().image();
    known = drawn.emplace(type, std::move(swatch)).first;
  }
  auto& p1 = f.p1.draw();
  if (known->second.missing) {
    p1.move_to(180, y);
    p1.print("?");
    return;
  }
  const Image& picture = known->second.picture;
  if (kind == 1)
    p1.paint_image(picture, 80, y + 130, 500, 250);
  else if (kind == 0)
    p1.paint_image(picture, 80, y, 450, 450);
  else
    p1.paint_image(picture, 80, y, 500, 500);
}

// A row whose type the last TYP check found fault with, for the style and TYP
// file it checked: a bar left of the swatch, red for a warning, grey for a note.
void draw_finding_mark(AppState& s, const Row& r, int y) {
  const auto& d = s.typcheck;
  if (d.marks.empty() || d.typ_file != s.typ_file ||
      d.style_dir != style_directory(s, s.style_name))
    return;
  auto mark = d.marks.find(kind_type_key(s.selected_kind, rule_type_key(r.type)));
  if (mark == d.marks.end()) return;
  constexpr Colour note_grey = rgb(150, 150, 150);
  s.f1.p1.draw().fill_rect(0, y + 60, 60, y + 440, mark->second ? colours::red : note_grey);
}

// A row whose rule caught nothing in the data file: a bar between the swatch
// and the text, so that a rule gone idle stands out in a long chart.
void draw_idle_mark(AppState& s, const RuleCatch* c, int y) {
  if (!c || c->caught != 0 || !c->not_evaluated.empty()) return;
  constexpr Colour idle_orange = rgb(230, 120, 0);
  s.f1.p1.draw().fill_rect(600, y + 60, 650, y + 440, idle_orange);
}

std::string catch_text(const RuleCatch& c) {
  return c.not_evaluated.empty() ? text::decimal(c.caught) + " caught" : "not run";
}

// Rows the resolution filters leave out take no place on the canvas.
bool row_hidden(const AppState& s, std::uint8_t from) {
  Row probe;
  probe.from = from;
  return filtered_out(s, probe);
}

}  // namespace

const RuleCatch* row_catch(const AppState& s, int i) {
  const auto& d = s.data;
  long long kind = s.selected_kind;
  if (d.data_file.empty() || d.data_file != s.data_file || kind < 0 || kind >= kind_count ||
      d.style_dir != style_directory(s, s.style_name))
    return nullptr;
  const auto& lines = s.results.rule_line[static_cast<std::size_t>(kind)];
  if (i < 0 || static_cast<std::size_t>(i) >= lines.size()) return nullptr;
  auto source = row_source(s, static_cast<int>(kind), lines[static_cast<std::size_t>(i)]);
  const auto& rules = d.rules[static_cast<std::size_t>(kind)];
  auto found = rules.find({paths::normal(source.file), source.line});
  return found == rules.end() ? nullptr : &found->second;
}

int row_at(AppState& s, int y) {
  double th = s.f1.p1.draw().text_height("X");
  const auto& from = bounded(s.results.res_from, s.selected_kind, "kind");
  int n = 0;
  for (int i = 0; i < s.result_count && static_cast<std::size_t>(i) < from.size(); ++i) {
    if (row_hidden(s, from[static_cast<std::size_t>(i)])) continue;
    double top = th * n * 2.5 + 80;
    if (y >= top && y < top + th * 2.5) return i;
    ++n;
  }
  return -1;
}

double column_width(const AppState& s) {
  const auto& f = s.f1;
  int columns = 25 - s.lowest_resolution;
  if (columns == 0) fail("Division by zero");
  return static_cast<double>(f.p2.width() - 2 * f.vs.bounds.width - 600) / columns;
}

void place_scale_labels(AppState& s) {
  double w = column_width(s);
  for (int r = s.lowest_resolution; r <= 24; ++r) {
    auto& label = scale_label(s.f1, r);
    label.bounds.width = num::to_int(w);
    label.bounds.left = num::to_int((r - s.lowest_resolution) * w + 600);
    label.bounds.top = 0;
    // The level marks that the analysis put on the scale stay.
    auto number = text::decimal(r);
    if (!text::starts_with(label.caption, number + " L")) label.caption = number;
    label.visible = true;
  }
}

int canvas_height(AppState& s, Host&, int count) {
  auto& f = s.f1;
  double th = f.p1.draw().text_height("X");
  int need = num::to_int((static_cast<double>(count) + 2) * num::to_int(th) * 2.5);
  int below_strip = f.height - f.p3.top;
  if (below_strip > need) need = below_strip;
  if (need < f.p2.height()) need = f.p2.height();
  if (need < 1000) need = 5000;
  return need;
}

namespace {

// The start of a text that can show in room twips: no glyph is narrower than a
// pixel, so a rule's text of megabytes is never laid out whole.
std::string shown_text(const Surface& surface, const std::string& t, double room) {
  double tpp = surface.twips_per_pixel();
  if (!(tpp > 0) || !(room > 0)) return {};
  double most = room / tpp + 2;
  if (static_cast<double>(t.size()) <= most) return t;
  return t.substr(0, static_cast<std::size_t>(most));
}

// The part of a row below its top that it draws on (text, bar, swatch).
constexpr int row_reach = 700;

// Draws the rows of the chart that reach into the band of p1 that is held;
// the grid is drawn down to below the last row.
void plot_held(AppState& s, Host& host, int count, const Layout& lay, Swatches& swatches) {
  auto& f = s.f1;
  clearpic(s, host);
  double band_top = f.p1.band_top(), band_bottom = band_top + f.p1.band_height();
  double bottom = 0;
  if (count > 0) {
    host.set_busy(true);
    int n = 0;
    const auto& from = bounded(s.results.res_from, s.selected_kind, "kind");
    for (int i = 0; i < count; ++i) {
      int y = num::to_int(lay.th * n * 2.5 + 80);
      // Only the resolution decides whether a row is drawn, so that rows
      // outside the band are passed over without being read.
      if (static_cast<std::size_t>(i) < from.size() &&
          row_hidden(s, from[static_cast<std::size_t>(i)]))
        continue;
      if (y + row_reach < band_top || y > band_bottom) {
        if (static_cast<std::size_t>(i) >= from.size()) break;
        bottom = y + 100 + lay.th;
        ++n;
        continue;
      }
      Row r;
      bool readable = true;
      attempt(host, [&] {
        readable = false;
        r = read_row(s, i);
        readable = true;
      });
      // Past the end of the table every further row would fail the same way.
      if (!readable) break;
      int bar_top = y + lay.bar_offset;
      attempt(host, [&] {
        auto& p1 = f.p1.draw();
        Colour c = bar_colour(s, r);
        double end = lay.x(r.to + 1);
        p1.fill_rect(lay.x(r.from), bar_top, end, bar_top + 30, c);
        if (!r.cont) p1.fill_rect(end - 10, bar_top - 80, end + 20, bar_top + 100, c);
      });
      attempt(host, [&] { draw_swatch(s, host, i, y, swatches); });
      attempt_quietly([&] { draw_finding_mark(s, r, y); });
      const RuleCatch* caught = row_catch(s, i);
      attempt_quietly([&] { draw_idle_mark(s, caught, y); });
      attempt(host, [&] {
        auto& p1 = f.p1.draw();
        if (!r.type.empty()) p1.set_fore(colours::black);
        p1.move_to(670, y + 100);
        p1.set_bold(true);
        p1.print(' ' + text::decimal(r.from));
        p1.set_bold(false);
        p1.move_to(p1.current_x() + lay.w000 / 2, p1.current_y());
        bottom = y + 100 + lay.th;
        double type_x = p1.current_x() + p1.text_width("XXXXX");
        p1.print(r.type);
        p1.move_to(type_x, p1.current_y());
        p1.set_fore(line_ref_colour);
        p1.print(r.line + "  ");
        if (caught) {
          p1.set_fore(caught->caught == 0 ? colours::dark_red : caught_colour);
          p1.print(catch_text(*caught) + "  ");
        }
        p1.set_fore(colours::black);
        if (f.shtxt.value == 1)
          p1.print(shown_text(p1, r.text, f.p1.width() - p1.current_x()) + " ");
      });
      ++n;
    }
    attempt(host, [&] {
      auto& p1 = f.p1.draw();
      p1.move_to(30, lay.th * (n + 1) * 2.5 + 100);
      p1.print("\tCharted with Zoomwright " + s.app_version + "   " + host.today());
    });
  }

  draw_scale_grid(s, host, lay.lowest, lay.w, 0, bottom);
  attempt_quietly([&] { f.p1.draw().set_bold(false); });
}

Layout chart_layout(AppState& s, Host& host) {
  auto& f = s.f1;
  Layout lay;
  lay.bar_offset = f.shtxt.value == 1 ? 350 : 170;
  lay.lowest = s.lowest_resolution;
  attempt(host, [&] { lay.w = num::to_int(column_width(s)); });
  attempt(host, [&] {
    auto& p1 = f.p1.draw();
    lay.w000 = p1.text_width("000");
    lay.th = p1.text_height("X");
  });
  return lay;
}

// Sizes the canvas for count rows; a tall one holds the band in view (with a
// pane's height more above and below, for short scrolls).
void size_canvas(AppState& s, Host& host, int count) {
  auto& f = s.f1;
  int height = canvas_height(s, host, rows_drawn(s, count));
  if (height <= whole_canvas_twips) f.p1.hold_whole();
  int pane = std::max(f.p2.height(), 1000);
  int top = std::clamp(-f.p1.top - pane, 0, std::max(0, height - 1));
  if (height > whole_canvas_twips) f.p1.hold_band(top, std::min(3 * pane, height - top));
  f.p1.set_height(height);
}

}  // namespace

void plot(AppState& s, Host& host, int count) {
  // The counter tells the rows on the chart, which the filters may thin.
  if (count > 0)
    attempt_quietly([&] { s.f1.label1.caption = text::decimal(rows_drawn(s, count)); });
  Layout lay = chart_layout(s, host);
  attempt(host, [&] { size_canvas(s, host, count); });
  Swatches swatches;
  plot_held(s, host, count, lay, swatches);
}

bool draw_bands(AppState& s, int band, const std::function<void()>& paint,
                const std::function<void()>& each) {
  auto& f = s.f1;
  if (!f.p1.banded() || band <= 0) return false;
  int height = f.p1.height();
  for (int top = 0; top < height; top += band) {
    if (!f.p1.hold_band(top, std::min(band, height - top))) return false;
    paint();
    each();
  }
  return true;
}

bool plot_in_bands(AppState& s, Host& host, int count, int band,
                   const std::function<void()>& each) {
  if (!s.f1.p1.banded()) return false;
  Layout lay = chart_layout(s, host);
  Swatches swatches;
  bool drawn = draw_bands(
      s, band, [&] { plot_held(s, host, count, lay, swatches); }, each);
  // The window shows the part in view again.
  plot(s, host, count);
  return drawn;
}

void clear_chart(AppState& s, Host& host) {
  auto& f = s.f1;
  s.result_count = 0;
  s.selected_res = -1;
  s.followed.paths.clear();
  f.label1.caption = text::decimal(0);
  for (int r = 1; r <= 24; ++r) {
    auto& label = f.Label3[static_cast<std::size_t>(r)];
    label.visible = false;
    label.bold = false;
    label.caption = text::decimal(r);
    label.back = f.p3.back;
    label.fore = colours::black;
  }
  f.p1.top = 0;
  f.vs.value = 0;
  f.vs.max = 0;
  attempt_quietly([&] {
    f.p1.hold_whole();
    f.p1.set_height(canvas_height(s, host, 0));
  });
  clearpic(s, host);
}

void draw_scale_grid(AppState& s, Host& host, int lowest, double w, double top, double bottom) {
  auto& f = s.f1;
  for (int r = lowest; r <= 25; ++r) {
    double x = column_x(lowest, w, r);
    attempt(host, [&] { f.p1.draw().line(x, top, x, bottom, grid_colour); });
    attempt(host, [&] { f.p3.draw().fill_rect(x, 0, x, f.p3.height(), colours::black); });
  }
}

void resize_chart(AppState& s, Host& host) {
  if (s.scan_busy) return;
  s.scan_busy = true;
  auto& f = s.f1;
  attempt_quietly([&] {
    int frame = num::to_int(host.twips_per_pixel() * host.sizing_border_pixels());
    f.p1.set_width(f.width - 2 * frame);
    f.p3.set_width(f.p1.width());
    f.p2.set_width(f.p1.width());
  });
  attempt_quietly([&] { f.p2.set_height(f.height - 800 - f.p2.top); });
  attempt_quietly([&] {
    f.vs.bounds.left = f.p2.width() - f.vs.bounds.width;
    f.vs.bounds.top = 0;
    f.vs.bounds.height = f.p2.height();
  });
  // The range must fit the chart about to be drawn, not the previous one, so
  // the canvas takes its new height before the overflow is measured.
  if (s.result_count > 0) attempt_quietly([&] { size_canvas(s, host, s.result_count); });
  attempt_quietly([&] {
    int d = num::to_int(static_cast<double>(f.p1.height()) - f.p2.height() + 17);
    if (d < 25) {
      f.vs.max = 0;
      return;
    }
    if (d > 32767) d = 32757;
    f.vs.max = d;
    attempt_quietly([&] { place_scale_labels(s); });
    // A step of the bar is one row, so that a wheel notch (three steps on
    // either platform) moves three rows.
    double overflow = static_cast<double>(f.p1.height()) - f.p2.height();
    double row = num::to_int(f.p1.draw().text_height("X")) * 2.5;
    f.vs.small_change = std::max(1, num::to_int(row * f.vs.max / std::max(overflow, 1.0)));
    f.vs.large_change = std::max(1, num::to_int(f.vs.max / 10.0));
  });
  f.vs.enabled = true;
  if (s.result_count > 0) attempt_quietly([&] { plot(s, host, s.result_count); });
  s.scan_busy = false;
  host.set_busy(false);
}

void vs_Scroll(AppState& s, Host& host) {
  auto& f = s.f1;
  int offset = 0;
  // Without a range there is nothing to scroll: the canvas goes to the top.
  attempt_quietly([&] {
    if (f.vs.max == 0) fail("Division by zero");
    offset = num::to_int(std::abs(static_cast<double>(f.p2.height()) - f.p1.height()) * f.vs.value /
                         f.vs.max);
  });
  f.p1.top = -offset;
  // A tall chart holds only the part in view: the part now in view is drawn.
  if (f.p1.banded() && s.result_count > 0) attempt_quietly([&] { plot(s, host, s.result_count); });
}

}  // namespace zw
