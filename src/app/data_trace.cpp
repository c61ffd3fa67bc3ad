#include "app/data_trace.h"

#include "analysis/analysis.h"
#include "app/menus.h"
#include "base/failure.h"
#include "base/paths.h"
#include "base/text.h"
#include "chart/chart.h"
#include "rules/trace.h"

namespace zw {
namespace {

// Only the examples the trace keeps are listed.
void add_catch(RuleCatch& into, const rules::Rule& r, const rules::RuleTally& t) {
  into.caught += t.caught;
  for (const auto& e : t.examples)
    if (into.examples.size() < 3) into.examples.push_back(e);
  if (!r.not_evaluated.empty()) into.not_evaluated = r.not_evaluated;
}

bool count(AppState& s, Host& host, const std::string& style_dir) {
  rules::Style style;
  std::string error;
  if (!rules::load_style(style_dir, style, error)) {
    host.message(error);
    return false;
  }
  rules::TraceOptions options;
  options.kinds[rules::relations] = false;
  rules::Trace trace;
  if (!rules::run_trace(style, s.data_file, options, trace, error)) {
    host.message(error);
    return false;
  }
  std::map<std::string, std::string> paths_of;  // the rule files' names as the rules give them
  for (const auto& f : style.files) paths_of[f.name] = paths::normal(f.path);
  for (int kind = 0; kind < kind_count; ++kind) {
    auto k = static_cast<std::size_t>(kind);
    const auto& list = style.rules[k];
    for (std::size_t i = 0; i < list.size() && i < trace.rules[k].size(); ++i) {
      const auto& r = list[i];
      if (r.types.empty()) continue;  // draws nothing: no chart row has it
      auto path = paths_of.find(r.file);
      if (path == paths_of.end()) continue;
      add_catch(s.data.rules[k][{path->second, r.line}], r, trace.rules[k][i]);
    }
  }
  return true;
}

}  // namespace

void refresh_data_counts(AppState& s, Host& host) {
  auto style_dir = s.style_name.empty() ? std::string() : style_directory(s, s.style_name);
  auto& d = s.data;
  if (d.data_file == s.data_file && d.style_dir == style_dir) return;
  d = DataCounts();
  show_data_file(s);
  if (s.data_file.empty() || style_dir.empty()) return;
  host.set_busy(true);
  bool counted = false;
  attempt(host, [&] { counted = count(s, host, style_dir); });
  host.set_busy(false);
  if (!counted) {
    d = DataCounts();
    return;
  }
  d.data_file = s.data_file;
  d.style_dir = style_dir;
}

void show_data_file(AppState& s) {
  s.f1.mf[file_menu::close_data].enabled = !s.data_file.empty();
}

void open_data_file(AppState& s, Host& host) {
  std::string path;
  attempt_quietly([&] { path = file_dialog(host, false, "", "*.osm.pbf"); });
  if (path.empty()) return;
  s.data_file = path;
  // The same file chosen again is read again: it may have changed.
  s.data = DataCounts();
  refresh_data_counts(s, host);
  attempt_quietly([&] { plot(s, host, s.result_count); });
  host.set_busy(false);
}

void close_data_file(AppState& s, Host& host) {
  s.data_file.clear();
  refresh_data_counts(s, host);
  attempt_quietly([&] { plot(s, host, s.result_count); });
  host.set_busy(false);
}

void chart_DblClick(AppState& s, Host& host) {
  if (s.data_file.empty()) {
    host.message("Open a data file first: File > Open Data file");
    return;
  }
  int row = -1;
  attempt_quietly([&] { row = row_at(s, static_cast<int>(s.f1.p1.mouse_y)); });
  if (row < 0) return;
  const RuleCatch* c = row_catch(s, row);
  std::string line(
      bounded(bounded(s.results.rule_line, s.selected_kind, "rule_line"), row, "rule_line"));
  std::string type(
      bounded(bounded(s.results.rule_type, s.selected_kind, "rule_type"), row, "rule_type"));
  std::string rule = "The rule at " + line + " (type " + type + ")";
  std::string data = paths::part(s.data_file, 1);
  if (!c) {
    host.message(rule + " was not counted in " + data + ".");
    return;
  }
  if (!c->not_evaluated.empty()) {
    host.message(rule + " is not evaluated: " + c->not_evaluated);
    return;
  }
  if (c->caught == 0) {
    host.message(rule + " catches no element of " + data + ".");
    return;
  }
  std::string list = rule + " catches " + text::decimal(c->caught) + " element" +
                     (c->caught == 1 ? "" : "s") + " of " + data + ", such as:";
  for (const auto& e : c->examples) list += "\r\n" + e;
  host.message(list);
}

}  // namespace zw
