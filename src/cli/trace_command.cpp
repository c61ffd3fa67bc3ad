#include <algorithm>
#include <ostream>

#include "base/numbers.h"
#include "cli/commands.h"
#include "levels/drawn_levels.h"
#include "rules/trace.h"

namespace zw::cli {
namespace {

constexpr int default_unmatched = 10;

int trace_kind(const std::string& kind) {
  if (kind == "relations") return rules::relations;
  return kind_index(kind);
}

std::string types_of(const rules::Rule& r, const LevelTable& levels, std::string& drawn) {
  std::string types;
  std::vector<int> all;
  for (const auto& t : r.types) {
    types += (types.empty() ? "" : ",") + t.type;
    for (int l : rules::type_levels(t, levels))
      if (std::find(all.begin(), all.end(), l) == all.end()) all.push_back(l);
  }
  std::sort(all.begin(), all.end());
  drawn = r.types.empty() ? "-" : level_ranges(all);
  if (r.finalize) return "finalize";
  return types.empty() ? "-" : types;
}

void print_rules(std::ostream& out, int kind, const std::vector<rules::Rule>& list,
                 const std::vector<rules::RuleTally>& tallies, const LevelTable& levels, bool inc,
                 int& idle, int& not_evaluated) {
  for (std::size_t i = 0; i < list.size() && i < tallies.size(); ++i) {
    const auto& r = list[i];
    if (!inc && r.file != rules::kind_name(kind)) continue;
    const auto& t = tallies[i];
    if (!r.not_evaluated.empty())
      ++not_evaluated;
    else if (t.caught == 0)
      ++idle;
    std::string drawn;
    std::string type = types_of(r, levels, drawn);
    std::string examples;
    for (const auto& e : t.examples) examples += (examples.empty() ? "" : " ") + e;
    out << rules::kind_name(kind) << '\t' << escape_field(r.file) << '\t' << r.line << '\t'
        << escape_field(type) << '\t' << drawn << '\t';
    if (r.not_evaluated.empty())
      out << t.caught;
    else
      out << "not evaluated: " << escape_field(r.not_evaluated);
    out << '\t' << (examples.empty() ? "-" : examples) << "\n";
  }
}

void print_uncaught(std::ostream& out, int kind, const rules::KindTally& k, int n) {
  std::vector<std::pair<std::int64_t, std::string>> list;
  for (const auto& [tags, count] : k.uncaught) list.emplace_back(count, tags);
  std::stable_sort(list.begin(), list.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  for (int i = 0; i < n && i < static_cast<int>(list.size()); ++i)
    out << "unmatched\t" << rules::kind_name(kind) << '\t'
        << list[static_cast<std::size_t>(i)].first << '\t'
        << escape_field(list[static_cast<std::size_t>(i)].second) << "\n";
}

}  // namespace

int run_trace(const std::vector<std::string>& words, Io& io) {
  auto specs = common_options();
  specs.insert(specs.end(),
               {{"--kind", true}, {"--inc", false}, {"--unmatched", true}, {"--explain", true}});
  auto args = parse_args(words, specs);
  if (args.positional.size() != 2) throw UsageError("give a style directory and a data file");
  std::vector<int> kinds;
  if (args.has("--kind"))
    kinds.push_back(trace_kind(args.value("--kind")));
  else
    kinds = {rules::polygons, rules::lines, rules::points, rules::relations};
  int unmatched =
      args.has("--unmatched") ? whole_option(args, "--unmatched", 0, 1'000'000) : default_unmatched;
  rules::TraceOptions options;
  if (args.has("--explain")) {
    options.explain = args.value("--explain");
    auto slash = options.explain.find('/');
    std::string kind = options.explain.substr(0, slash);
    if (slash == std::string::npos || (kind != "node" && kind != "way" && kind != "relation"))
      throw UsageError("--explain takes node/ID, way/ID or relation/ID");
  }
  const std::string& style_dir = args.positional[0];
  const std::string& data = args.positional[1];

  Session session(io.err, io.app_dir);
  start_session(session, args);
  session.select_style(style_dir);

  rules::Style style;
  std::string error;
  if (!rules::load_style(style_dir, style, error)) {
    io.err << "zoomwright-cli trace: " << escape_field(error) << "\n";
    return 2;
  }
  rules::Trace trace;
  if (!rules::run_trace(style, data, options, trace, error)) {
    io.err << "zoomwright-cli trace: " << escape_field(error) << "\n";
    return 2;
  }
  const auto& levels = session.state.levels;
  if (!options.explain.empty()) {
    if (trace.explanation.empty()) {
      io.err << "zoomwright-cli trace: " << data << ": no " << options.explain << " with tags\n";
      return 2;
    }
    for (const auto& fields : trace.explanation) {
      for (std::size_t i = 0; i < fields.size(); ++i)
        io.out << (i ? "\t" : "") << escape_field(fields[i]);
      io.out << "\n";
    }
    for (const auto& [r, t] : trace.explained_types)
      io.out << "type\t" << rules::kind_name(r->kind) << '\t' << escape_field(r->file) << ':'
             << r->line << '\t' << escape_field(t->type) << '\t'
             << level_ranges(rules::type_levels(*t, levels)) << "\n";
    if (trace.explained_types.empty()) io.out << "type\t-\n";
    return 0;
  }
  bool inc = args.has("--inc");
  std::array<int, rules::kind_count> idle{}, not_evaluated{};
  for (int kind : kinds) {
    auto k = static_cast<std::size_t>(kind);
    print_rules(io.out, kind, style.rules[k], trace.rules[k], levels, inc, idle[k],
                not_evaluated[k]);
    print_rules(io.out, kind, style.finalize[k], trace.finalize[k], levels, inc, idle[k],
                not_evaluated[k]);
  }
  for (int kind : kinds)
    print_uncaught(io.out, kind, trace.kinds[static_cast<std::size_t>(kind)], unmatched);
  for (int kind : kinds) {
    auto k = static_cast<std::size_t>(kind);
    const auto& t = trace.kinds[k];
    io.out << "summary\t" << rules::kind_name(kind) << '\t' << t.read << '\t' << t.caught << '\t'
           << t.read - t.caught << '\t' << idle[k] << '\t' << not_evaluated[k] << "\n";
  }
  return 0;
}

}  // namespace zw::cli
