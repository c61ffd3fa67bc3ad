#include <algorithm>
#include <ostream>

#include "analysis/analysis.h"
#include "app/check_handlers.h"
#include "chart/chart.h"
#include "chart/diff_chart.h"
#include "cli/commands.h"
#include "levels/drawn_levels.h"

namespace zw::cli {
namespace {

constexpr int picture_width = 15000;

std::string line_of(const RuleRow* r) {
  return r ? r->line : "-";
}
std::string levels_of(const RuleRow* r) {
  return r ? level_ranges(r->levels) : "-";
}

const RuleRow* row_at(const std::vector<RuleRow>& rows, int i) {
  return i >= 0 && i < static_cast<int>(rows.size()) ? &rows[static_cast<std::size_t>(i)] : nullptr;
}

// The rules that are not drawn as before, kind by kind.
std::vector<DiffChartRow> changed_rows(const std::vector<int>& kinds, const StyleRules& old_rules,
                                       const StyleRules& new_rules,
                                       const StyleComparison& comparison) {
  std::vector<DiffChartRow> out;
  for (int kind : kinds) {
    auto k = static_cast<std::size_t>(kind);
    for (const auto& p : comparison[k].pairs) {
      if (p.change == RuleChange::same) continue;
      out.push_back(
          {kind, p.change, row_at(old_rules[k], p.old_row), row_at(new_rules[k], p.new_row)});
    }
  }
  return out;
}

void print_rows(std::ostream& out, const std::vector<DiffChartRow>& rows) {
  for (const auto& r : rows) {
    const RuleRow* any = r.new_row ? r.new_row : r.old_row;
    if (!any) continue;
    out << change_name(r.change) << '\t' << kind_name(r.kind) << '\t'
        << escape_field(line_of(r.old_row)) << '\t' << escape_field(line_of(r.new_row)) << '\t'
        << levels_of(r.old_row) << '\t' << levels_of(r.new_row) << '\t' << escape_field(any->type)
        << '\t' << escape_field(any->text) << "\n";
  }
}

std::string legend(const Session& session, const std::string& style_dir) {
  return style_dir + "   " + session.state.f1.Label4.caption;
}

// The picture of the changed rules, drawn in the new style's session (whose
// scale labels carry its level marks) over the scale of both styles.
bool write_picture(Session& old_session, Session& new_session, const Args& args,
                   std::vector<DiffChartRow> rows, const std::string& path) {
  ChartRasters rasters;
  use_raster_boxes(new_session, rasters);
  set_chart_width(new_session, picture_width);
  auto& s = new_session.state;
  // The panes laid out for the window, without charting the last kind again.
  s.result_count = 0;
  resize_chart(s, new_session.host);
  s.lowest_resolution = std::min(s.lowest_resolution, old_session.state.lowest_resolution);
  DiffChart chart{std::move(rows), legend(old_session, args.positional[0]),
                  legend(new_session, args.positional[1])};
  auto bands = [&](int band, const std::function<void()>& each) {
    return plot_diff_in_bands(s, new_session.host, chart, band, each);
  };
  return plot_diff(s, new_session.host, chart) && write_chart_image(new_session, path, bands);
}

}  // namespace

int run_diff(const std::vector<std::string>& words, Io& io) {
  auto options = common_options();
  options.insert(options.end(), {{"--kind", true}, {"--inc", false}, {"--out", true}});
  auto args = parse_args(words, options);
  if (args.positional.size() != 2) throw UsageError("give the old and the new style directory");
  std::vector<int> kinds{0, 1, 2};
  if (args.has("--kind")) kinds = {kind_index(args.value("--kind"))};
  bool picture = args.has("--out");
  auto out = args.value("--out");
  if (picture && out.empty()) throw UsageError("--out needs a file name");

  // Each style in a session of its own, with its own level table.
  Session old_session(io.err, io.app_dir), new_session(io.err, io.app_dir);
  if (picture && !image_name_accepted(new_session, out)) return 2;
  start_session(old_session, args);
  start_session(new_session, args);
  if (!open_session(old_session, args.positional[0]) ||
      !open_session(new_session, args.positional[1]))
    return 2;
  StyleRules old_rules, new_rules;
  bool inc = args.has("--inc");
  if (!analyse_kinds(old_session.state, old_session.host, kinds, inc, old_rules) ||
      !analyse_kinds(new_session.state, new_session.host, kinds, inc, new_rules))
    return 2;

  const auto& old_state = old_session.state;
  const auto& new_state = new_session.state;
  if (!same_levels(old_state.levels, new_state.levels))
    io.out << "levels\t" << escape_field(old_state.f1.Label4.caption) << '\t'
           << escape_field(new_state.f1.Label4.caption) << "\n";
  auto comparison = compare_styles(old_rules, new_rules);
  auto rows = changed_rows(kinds, old_rules, new_rules, comparison);
  print_rows(io.out, rows);
  for (int kind : kinds) {
    const auto& c = comparison[static_cast<std::size_t>(kind)];
    io.out << "summary\t" << kind_name(kind);
    for (int n : c.counts) io.out << '\t' << n;
    io.out << "\n";
  }
  io.out.flush();
  bool differ = !rows.empty();
  if (picture && !write_picture(old_session, new_session, args, std::move(rows), out)) return 2;
  return differ ? 1 : 0;
}

}  // namespace zw::cli
