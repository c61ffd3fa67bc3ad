#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "rules/element.h"
#include "rules/evaluate.h"
#include "rules/rule_set.h"

// A style's rules run over OSM data: what each rule catches.
namespace zw::rules {

struct TraceOptions {
  std::array<bool, kind_count> kinds{true, true, true, true};  // which kinds to report
  std::string explain;      // "way/123": record that element's run
  bool keep_pairs = false;  // record every (rule, element) pair
};

struct RuleTally {
  std::int64_t caught = 0;
  std::vector<std::string> examples;  // the first three elements caught
};

struct KindTally {
  std::int64_t read = 0, caught = 0;
  std::map<std::string, std::int64_t> uncaught;  // tag combination -> elements
};

struct Trace {
  // Per rule of style.rules and style.finalize, by kind, in order.
  std::array<std::vector<RuleTally>, kind_count> rules, finalize;
  std::array<KindTally, kind_count> kinds;
  // The fields of each line of the explanation; empty when the element was not met.
  std::vector<std::vector<std::string>> explanation;
  std::vector<std::pair<const Rule*, const TypeDef*>> explained_types;  // what it became
  std::vector<std::pair<std::string, std::string>> pairs;               // ("lines:12", "way/5")
};

// Runs the style over the data file. false with error naming the file (and
// the rule, for a regular expression that took too much work).
bool run_trace(const Style& style, const std::string& data, const TraceOptions& options,
               Trace& trace, std::string& error);

// The tags that say what an element is, for the list of what no rule catches:
// "building=yes highway=*"; free texts (names, numbers, notes) read "key=*".
std::string tag_combination(const Tags& tags);

}  // namespace zw::rules

namespace zw {
struct LevelTable;
}

namespace zw::rules {

// The main levels mkgmap draws a type at, with the style's levels.
std::vector<int> type_levels(const TypeDef& type, const LevelTable& levels);

}  // namespace zw::rules
