// The trace judged by mkgmap itself: every rule of a copy of a style gets an
// echo action naming it, mkgmap compiles the Monaco extract with that copy,
// and the (rule, element) pairs it prints must agree with the trace's. mkgmap
// is a test dependency; without it these tests fail, they never skip.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "base/text.h"
#include "rules/trace.h"
#include "support/cli_runner.h"
#include "support/mkgmap_style.h"
#include "support/test_app.h"

namespace zw {
namespace {

const std::string shared_dir = std::string(ZW_SOURCE_DIR) + "/../shared";
const std::string monaco = shared_dir + "/osm/monaco.osm.pbf";

using Pair = std::pair<std::string, std::string>;  // ("lines:12", "way/5")

// The style's rule files with `echo "ZW FILE:LINE"` first in every rule's
// action block (a block of its own where it has none), written over the copy.
void add_echoes(const rules::Style& style, const test::TempDir& dir, const std::string& copy) {
  std::map<std::string, std::map<std::size_t, std::string, std::greater<>>> inserts;
  auto note = [&](const rules::Rule& r) {
    std::string echo = "echo \"ZW " + r.file + ":" + std::to_string(r.line) + "\"";
    if (r.action_at != std::string::npos)
      inserts[r.file][r.action_at] = echo + "; ";
    else
      inserts[r.file][r.rule_end] = "{" + echo + "} ";
  };
  for (const auto& list : style.rules)
    for (const auto& r : list) note(r);
  for (const auto& list : style.finalize)
    for (const auto& r : list) note(r);
  for (const auto& [file, at] : inserts) {
    std::string t = dir.read(copy + "/" + file);
    for (const auto& [pos, what] : at) t.insert(pos, what);
    dir.write(copy + "/" + file, t);
  }
}

struct Judgement {
  std::set<Pair> mkgmap, trace;
  std::size_t unnamed = 0;  // echoes of ways mkgmap made itself, without an OSM id
  std::map<std::string, int> unnamed_by_rule;
  std::size_t both() const {
    std::size_t n = 0;
    for (const auto& p : mkgmap) n += trace.count(p);
    return n;
  }
  double agreement() const {
    std::size_t all = mkgmap.size() + trace.size() - both();
    return all == 0 ? 1.0 : static_cast<double>(both()) / static_cast<double>(all);
  }
  // The disagreements by rule, commonest first, with an element each.
  std::string classes() const {
    std::map<std::string, std::pair<int, std::string>> by_rule;
    for (auto [label, from, other] :
         {std::tuple{"mkgmap only ", &mkgmap, &trace}, {"trace only ", &trace, &mkgmap}})
      for (const auto& p : *from)
        if (!other->count(p)) {
          auto& c = by_rule[label + p.first];
          ++c.first;
          c.second = p.second;
        }
    std::vector<std::pair<int, std::string>> list;
    for (const auto& [k, v] : by_rule) list.emplace_back(v.first, k + " e.g. " + v.second);
    std::sort(list.rbegin(), list.rend());
    std::string out;
    for (std::size_t i = 0; i < list.size() && i < 40; ++i)
      out += "  " + std::to_string(list[i].first) + " " + list[i].second + "\n";
    return out;
  }
};

// "Way 362812696 ZW lines:199" -> ("lines:199", "way/362812696").
void read_echoes(const std::string& printed, Judgement& j) {
  for (const auto& raw : text::split(printed, "\n")) {
    auto at = raw.find(" ZW ");
    if (at == std::string::npos) continue;
    std::string rule = text::trim(text::before(raw.substr(at + 4) + "\r", "\r"));
    std::string who = raw.substr(0, at);
    // "Way generated from relation 7385": a way mkgmap made of a relation's members.
    const std::string generated = "Way generated from relation ";
    if (text::starts_with(who, generated)) who = "Relation " + who.substr(generated.size());
    auto words = text::split(who, " ");
    std::string kind = words.empty() ? "" : words[0];
    std::string id = words.size() == 2 ? words[1] : "";
    bool number = !id.empty() && id.find_first_not_of("0123456789") == std::string::npos;
    if (!number) {
      ++j.unnamed;
      ++j.unnamed_by_rule[rule];
      continue;
    }
    if (kind == "Way")
      j.mkgmap.insert({rule, "way/" + id});
    else if (kind == "Node")
      j.mkgmap.insert({rule, "node/" + id});
    else if (kind == "Relation" || kind == "MultiPolygonRelation")
      j.mkgmap.insert({rule, "relation/" + id});
    else
      ++j.unnamed;
  }
}

Judgement judge(const std::string& root, const std::string& name) {
  Judgement j;
  rules::Style style;
  std::string error;
  EXPECT_TRUE(rules::load_style(root + "/" + name, style, error)) << error;
  test::TempDir dir;
  dir.copy(root + "/" + name, "styles/" + name);
  add_echoes(style, dir, "styles/" + name);
  auto r = test::run_program({"mkgmap", "--style-file=" + dir.at("styles"), "--style=" + name,
                              "--output-dir=" + dir.at("out"), monaco},
                             dir.path());
  EXPECT_EQ(r.status, 0) << r.err << test::mkgmap_install_hint;
  EXPECT_FALSE(text::contains(r.err, "Error in style")) << r.err;
  read_echoes(r.err + "\n" + r.out, j);
  EXPECT_GT(j.mkgmap.size(), 0u) << r.err;

  rules::TraceOptions options;
  options.keep_pairs = true;
  rules::Trace trace;
  EXPECT_TRUE(rules::run_trace(style, monaco, options, trace, error)) << error;
  j.trace.insert(trace.pairs.begin(), trace.pairs.end());
  // mkgmap names no element when it echoes for the area it made of a
  // multipolygon ("generated Way"): such an echo stands for the trace's pair
  // of a relation's area on the same rule.
  for (const auto& p : j.trace) {
    auto left = j.unnamed_by_rule.find(p.first);
    if (left == j.unnamed_by_rule.end() || left->second == 0) continue;
    if (!text::starts_with(p.second, "relation/") || j.mkgmap.count(p)) continue;
    --left->second;
    --j.unnamed;
    j.mkgmap.insert(p);
  }
  return j;
}

TEST(TraceJudge, AgreesWithMkgmapOnMonaco) {
  test::TempDir unpacked;
  test::unpack_default_style(unpacked);
  const struct {
    const char* label;
    std::string root, name;
    double at_least;  // the agreement reached, as a fraction of all pairs
  } cases[] = {
      {"default", unpacked.at("styles"), "default", 0.9995},
      {"generic new", shared_dir + "/samples/styles", "generic new", 0.9995},
      {"Openfietsmap lite", shared_dir + "/samples/styles", "Openfietsmap lite", 0.9995},
  };
  for (const auto& c : cases) {
    auto j = judge(c.root, c.name);
    std::printf(
        "%s: %zu pairs agree, %zu mkgmap only, %zu trace only, agreement %.4f; %zu unnamed\n%s",
        c.label, j.both(), j.mkgmap.size() - j.both(), j.trace.size() - j.both(), j.agreement(),
        j.unnamed, j.classes().c_str());
    EXPECT_GE(j.agreement(), c.at_least) << c.label << "\n" << j.classes();
  }
}

}  // namespace
}  // namespace zw
