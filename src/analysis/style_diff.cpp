#include "analysis/style_diff.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "base/text.h"
#include "levels/drawn_levels.h"

namespace zw {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Removes every "resolution " and "level " with the value after it: a rule
// with two type brackets has two of them.
std::string without_resolution(const std::string& t) {
  std::string out;
  out.reserve(t.size());
  for (std::size_t i = 0; i < t.size();) {
    std::size_t skip = t.compare(i, 11, "resolution ") == 0 ? 11
                       : t.compare(i, 6, "level ") == 0     ? 6
                                                            : 0;
    if (skip == 0) {
      out += t[i++];
      continue;
    }
    i += skip;
    while (i < t.size() && !is_blank(t[i]) && t[i] != ']') ++i;
  }
  return out;
}

std::string squeezed(const std::string& t) {
  std::string out;
  for (char c : t) {
    if (is_blank(c)) {
      if (!out.empty() && out.back() != ' ' && out.back() != '[') out += ' ';
      continue;
    }
    if (c == ']' && !out.empty() && out.back() == ' ') out.pop_back();
    out += c;
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string plural(int n, const char* one, const char* many) {
  return text::decimal(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::vector<RuleRow> rule_rows(const AppState& s, int kind) {
  std::vector<RuleRow> out;
  if (kind < 0 || kind >= kind_count) return out;
  const auto& r = s.results;
  auto k = static_cast<std::size_t>(kind);
  int n = std::min(s.result_count, r.rows(kind));
  out.reserve(static_cast<std::size_t>(std::max(n, 0)));
  for (int i = 0; i < n; ++i) {
    auto row = static_cast<std::size_t>(i);
    RuleRow rule;
    rule.line = r.rule_line[k][row];
    rule.type = r.rule_type[k][row];
    rule.text = r.rule_text[k][row];
    rule.from = r.res_from[k][row];
    rule.to = r.res_to[k][row];
    rule.cont = r.rule_continue[k][row] != 0;
    rule.levels = drawn_levels(s.levels, rule.from, rule.to);
    out.push_back(std::move(rule));
  }
  return out;
}

std::string match_key(const std::string& rule_text, const std::string& type) {
  return type + '\t' + squeezed(without_resolution(rule_text));
}

const char* change_name(RuleChange change) {
  switch (change) {
    case RuleChange::same:
      return "same";
    case RuleChange::moved:
      return "moved";
    case RuleChange::old_only:
      return "old-only";
    case RuleChange::new_only:
      return "new-only";
  }
  return "";
}

RuleComparison compare_rules(const std::vector<RuleRow>& old_rows,
                             const std::vector<RuleRow>& new_rows) {
  std::unordered_map<std::string, std::deque<int>> waiting;  // new rows by key, in file order
  waiting.reserve(new_rows.size());
  for (std::size_t i = 0; i < new_rows.size(); ++i)
    waiting[match_key(new_rows[i].text, new_rows[i].type)].push_back(static_cast<int>(i));

  RuleComparison c;
  std::vector<char> paired(new_rows.size(), 0);
  for (std::size_t i = 0; i < old_rows.size(); ++i) {
    RulePair p;
    p.old_row = static_cast<int>(i);
    auto it = waiting.find(match_key(old_rows[i].text, old_rows[i].type));
    if (it == waiting.end() || it->second.empty()) {
      p.change = RuleChange::old_only;
    } else {
      p.new_row = it->second.front();
      it->second.pop_front();
      paired[static_cast<std::size_t>(p.new_row)] = 1;
      p.change = old_rows[i].levels == new_rows[static_cast<std::size_t>(p.new_row)].levels
                     ? RuleChange::same
                     : RuleChange::moved;
    }
    c.pairs.push_back(p);
  }
  for (std::size_t j = 0; j < new_rows.size(); ++j)
    if (!paired[j]) c.pairs.push_back({RuleChange::new_only, -1, static_cast<int>(j)});
  for (const auto& p : c.pairs) ++c.counts[static_cast<std::size_t>(p.change)];
  return c;
}

StyleComparison compare_styles(const StyleRules& old_rules, const StyleRules& new_rules) {
  StyleComparison out;
  for (std::size_t k = 0; k < out.size(); ++k) out[k] = compare_rules(old_rules[k], new_rules[k]);
  return out;
}

std::array<int, rule_changes> total_counts(const StyleComparison& comparison) {
  std::array<int, rule_changes> total{};
  for (const auto& c : comparison)
    for (std::size_t i = 0; i < total.size(); ++i) total[i] += c.counts[i];
  return total;
}

std::string levels_kept_summary(const std::array<int, rule_changes>& counts) {
  auto n = [&](RuleChange c) { return counts[static_cast<std::size_t>(c)]; };
  std::string out = "Levels kept for " + plural(n(RuleChange::same), "rule", "rules") + "; " +
                    plural(n(RuleChange::moved), "rule", "rules") + " drawn at other levels";
  if (n(RuleChange::old_only) > 0)
    out +=
        "; " + plural(n(RuleChange::old_only), "rule", "rules") + " of the source not in the copy";
  if (n(RuleChange::new_only) > 0)
    out += "; " + plural(n(RuleChange::new_only), "rule", "rules") + " only in the copy";
  return out;
}

}  // namespace zw
