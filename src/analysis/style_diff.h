#pragma once
#include <array>
#include <string>
#include <vector>

#include "model/state.h"

// What an edit or a conversion did to a style's map: the rules of two analyses
// matched one to one, and compared on the levels at which mkgmap draws them.
namespace zw {

// One result row, with the main levels its own style draws it at.
struct RuleRow {
  std::string line, type, text;
  int from = 0, to = 24;
  bool cont = false;
  std::vector<int> levels;
};

// The result rows of one kind that the last run left (rows 0 .. result_count-1
// of that kind), with their drawn levels.
std::vector<RuleRow> rule_rows(const AppState& s, int kind);

// What two rules are matched by: the rule text without its resolution or level
// parts, blanks squeezed (and none inside the brackets' edges), and the type.
std::string match_key(const std::string& rule_text, const std::string& type);

enum class RuleChange { same, moved, old_only, new_only };
inline constexpr int rule_changes = 4;
// "same", "moved", "old-only", "new-only".
const char* change_name(RuleChange change);

// One rule of either style: the index of its row in the old and in the new
// rows, -1 where it has none.
struct RulePair {
  RuleChange change = RuleChange::same;
  int old_row = -1;
  int new_row = -1;
};

struct RuleComparison {
  // Every rule once: the old rows in their order (paired or old-only), then the
  // new-only rows in theirs.
  std::vector<RulePair> pairs;
  std::array<int, rule_changes> counts{};  // by RuleChange
};

// Matches the rows of one kind by their key; rows that share a key are paired
// in file order, the first with the first.
RuleComparison compare_rules(const std::vector<RuleRow>& old_rows,
                             const std::vector<RuleRow>& new_rows);

// The rows of every kind of one style (rows[kind]); a kind not analysed has none.
using StyleRules = std::array<std::vector<RuleRow>, kind_count>;
using StyleComparison = std::array<RuleComparison, kind_count>;

// compare_rules for each kind.
StyleComparison compare_styles(const StyleRules& old_rules, const StyleRules& new_rules);
// The counts of every kind added up.
std::array<int, rule_changes> total_counts(const StyleComparison& comparison);

// The line that tells whether a converted copy draws what its source drew.
std::string levels_kept_summary(const std::array<int, rule_changes>& counts);

}  // namespace zw
