#include "analysis/scanner.h"

#include <optional>
#include <string_view>

#include "app/failure.h"
#include "app/numbers.h"
#include "app/text.h"

namespace zw {
namespace {

constexpr Colour scanned_mark = rgb(180, 180, 190);

struct Row {
  std::string type, text, line;
  int from = 0;
  int to = 24;
  bool cont = false;
};

// The parts of a rule line that every variant works from.
struct RuleLine {
  std::string text;    // trimmed, comment cut
  bool level = false;  // the keyword is "level "
  std::string raw_tail;  // after the keyword, "]" spaced, not yet cut
};

// Where the value after a keyword starts: the first occurrence that stands as
// a word (at the start of the line or after a blank, a TAB or "[", and
// followed by a blank or a TAB), past the blanks and TABs after it; npos when
// the keyword stands nowhere as a word. So "admin_level = 2" is no level, and
// "resolution  21" is resolution 21.
std::size_t keyword_value(const std::string& line, std::string_view keyword) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  for (auto at = line.find(keyword); at != std::string::npos; at = line.find(keyword, at + 1)) {
    auto end = at + keyword.size();
    if (at > 0 && !blank(line[at - 1]) && line[at - 1] != '[') continue;
    if (end >= line.size() || !blank(line[end])) continue;
    auto value = line.find_first_not_of(" \t", end);
    return value == std::string::npos ? line.size() : value;
  }
  return std::string::npos;
}

std::string line_reference(const ScanRun& run, int line_number) {
  auto n = text::decimal(line_number);
  if (run.include_index < 0) return n;
  return std::string(1, static_cast<char>('a' + run.include_index)) + ")" + n;
}

std::string squeezed(const std::string& t) {
  return text::replace_all(text::replace_all(t, "\t", " "), "  ", " ");
}

// The tail cut before its first blank.
std::string cut_tail(const std::string& raw_tail) { return text::before(raw_tail, " "); }

// The rule tail after range resolution, with its upper value, and whether the
// level flag is still set (a single level number).
struct Tail {
  std::string value;
  int upper = 24;
  bool level = false;
  bool cont = false;
};

Tail resolve_tail(AppState& s, Host& host, const RuleLine& rule) {
  Tail t;
  t.cont = text::contains(rule.raw_tail, "continue");
  t.value = cut_tail(rule.raw_tail);
  t.level = rule.level;
  if (text::contains(t.value, "-")) {
    t.value = get_res(s, host, s.selected_kind, t.value, t.upper, t.level);
    t.level = false;
  }
  return t;
}

void store(AppState& s, Host& host, ScanRun& run, const Row& row) {
  int k = s.selected_kind;
  auto& r = s.results;
  if (run.rows >= r.rows()) {
    if (!run.overflow_reported) {
      run.overflow_reported = true;
      host.message("More than " + std::to_string(r.rows()) + " rules match: only the first " +
                   std::to_string(r.rows()) + " rows are shown.");
    }
    return;
  }
  int i = run.rows;
  bounded(r.rule_type, k, "kind");
  auto from = static_cast<std::uint8_t>(num::to_byte(row.from));
  auto to = static_cast<std::uint8_t>(num::to_byte(row.to));
  r.rule_type[k][i] = row.type;
  r.rule_text[k][i] = row.text;
  r.rule_line[k][i] = row.line;
  r.res_from[k][i] = from;
  r.res_to[k][i] = to;
  r.rule_continue[k][i] = row.cont ? 1 : 0;
  ++run.rows;
}

// The selected-resolution test of the text and category scans.
bool passes_selected_resolution(AppState& s, const RuleLine& rule, const Tail& tail) {
  if (s.selected_res <= -1) return true;
  auto n = text::decimal(s.selected_res);
  bool equal = num::val(tail.value) == s.selected_res;
  if (text::contains(rule.text, " " + n + "-")) return equal;
  if (!text::contains(rule.text, " " + n)) return equal;
  return true;
}

void scan_all_categories(AppState& s, Host& host, ScanRun& run, const RuleLine& rule,
                         int line_number) {
  Tail tail = resolve_tail(s, host, rule);
  if (s.selected_res != -1) {
    if (tail.level) {
      tail.value = text::decimal(level_resolution(s, num::val(tail.value)));
      tail.level = false;
    }
    if (tail.value != text::decimal(s.selected_res)) return;
  }
  Row row;
  row.text = squeezed(rule.text);
  row.line = line_reference(run, line_number);
  if (tail.level) {
    double level = num::val(tail.value);
    if (level > s.levels.level_last) {
      if (!run.undeclared_reported) {
        run.undeclared_reported = true;
        host.message("Found undeclared level  " + tail.value);
      }
      return;
    }
    row.from = level_resolution(s, level);
    if (row.from == 0) host.message("Zero resolution in level");
  } else {
    row.from = num::to_byte(num::val(tail.value));
  }
  if (row.from > 0 && s.selected_res == -1)
    attempt(host, [&] { scale_label(s, row.from).bold = true; });
  row.type = get_typ(rule.text);
  row.to = tail.upper;
  row.cont = tail.cont;
  store(s, host, run, row);
}

// Works the tail out when it is first needed, so that a line that fails an
// earlier test causes no message.
class LazyTail {
 public:
  LazyTail(AppState& s, Host& host, const RuleLine& rule) : s_(s), host_(host), rule_(rule) {}
  Tail& get() {
    if (!tail_) tail_ = resolve_tail(s_, host_, rule_);
    return *tail_;
  }

 private:
  AppState& s_;
  Host& host_;
  const RuleLine& rule_;
  std::optional<Tail> tail_;
};

void scan_text(AppState& s, Host& host, ScanRun& run, const RuleLine& rule, int line_number) {
  LazyTail lazy(s, host, rule);
  if (s.selected_res > -1 && !passes_selected_resolution(s, rule, lazy.get())) return;
  if (!(s.f1.Check4.value == 1 && !run.filter.empty() && text::contains(rule.text, run.filter)))
    return;
  Row row;
  row.text = rule.text;
  row.line = line_reference(run, line_number);
  if (cut_tail(rule.raw_tail).empty()) return;
  Tail& tail = lazy.get();
  if (tail.level) {
    double level = num::val(tail.value);
    if (level <= s.levels.main_level_last) {
      int res = level_resolution(s, level);
      attempt(host, [&] { scale_label(s, res).back = scanned_mark; });
    } else {
      level = s.levels.main_level_last;
    }
    row.from = level_resolution(s, level);
  } else {
    row.from = num::to_byte(num::val(tail.value));
    attempt(host, [&] { scale_label(s, row.from).back = scanned_mark; });
  }
  if (row.from > 0 && row.from < s.lowest_resolution)
    s.lowest_resolution = static_cast<std::int16_t>(row.from);
  if (row.from == 0) return;
  row.to = tail.upper;
  row.cont = tail.cont;
  row.type = get_typ(rule.text);
  store(s, host, run, row);
}

void scan_categories(AppState& s, Host& host, ScanRun& run, const RuleLine& rule,
                     int line_number) {
  int n = static_cast<int>(run.categories.size());
  int first = n == s.category_box_last ? 1 : 0;
  if (first >= n) return;
  LazyTail lazy(s, host, rule);
  if (s.selected_res > -1 && !passes_selected_resolution(s, rule, lazy.get())) return;
  for (int i = first; i < n; ++i) {
    if (!text::contains(rule.text, run.categories[static_cast<std::size_t>(i)])) continue;
    if (s.f1.Check4.value == 1 && !text::contains(rule.text, run.filter)) return;
    Row row;
    row.text = squeezed(rule.text);
    row.line = line_reference(run, line_number);
    Tail& t = lazy.get();
    if (t.value.empty()) continue;
    // A failure for one name is shown, and the next name is tried.
    attempt(host, [&] {
      double value = num::val(t.value);
      row.from = value < 10 ? level_resolution(s, value) : num::to_byte(value);
      if (row.from == 0) return;
      attempt(host, [&] { scale_label(s, row.from).back = scanned_mark; });
      row.to = t.upper;
      row.cont = t.cont;
      row.type = get_typ(rule.text);
      store(s, host, run, row);
    });
  }
}

}  // namespace

Label& scale_label(AppState& s, long long resolution) {
  return bounded(s.f1.Label3, resolution, "Label3");
}

int level_resolution(const AppState& s, double level) {
  long long index = num::round_half_even(level, -2147483648LL, 2147483647LL);
  return bounded(s.levels.level_res, index, "level_res");
}

std::string get_typ(const std::string& s1) {
  int p = text::find(s1, "0x");
  if (p == 0) return {};
  int q = text::find(s1, " ", p + 2);
  if (q == 0) return {};
  return text::upper(text::mid(s1, p + 2, q - p - 2));
}

std::string get_res(AppState& s, Host& host, int, const std::string& s2, int& mx, bool lv) {
  auto parts = text::split(text::before(s2, " "), "-");
  std::string first = parts.size() > 0 ? parts[0] : std::string();
  std::string second = parts.size() > 1 ? parts[1] : std::string();
  if (lv) {
    first = text::decimal(level_resolution(s, num::val(first)));
    second = text::decimal(level_resolution(s, num::val(second)));
  }
  std::string result;
  if (num::val(second) > num::val(first)) {
    result = first;
    mx = num::to_int16(num::val(second));
  } else {
    result = second;
    mx = num::to_int16(num::val(first));
  }
  if (num::val(result) > mx) {
    mx = num::to_int16(num::val(result));
    host.message("oops res");
  }
  return result;
}

void scan_line(AppState& s, Host& host, ScanRun& run, const std::string& line, int line_number) {
  RuleLine rule;
  rule.text = text::trim(line);
  if (text::contains(rule.text, "#")) rule.text = text::before(rule.text, "#");
  if (rule.text.empty()) return;
  std::size_t value = keyword_value(rule.text, "resolution");
  if (value == std::string::npos) {
    value = keyword_value(rule.text, "level");
    rule.level = value != std::string::npos;
  }
  if (value == std::string::npos) return;
  if (s.f1.Check4.value == 1 && !run.filter.empty() && !text::contains(rule.text, run.filter))
    return;
  rule.raw_tail = text::replace_all(rule.text.substr(value), "]", " ]");

  // A failure in one line (a level beyond the table, a value above 255) is
  // shown, and the scan goes on with the next line.
  attempt(host, [&] {
    if (s.f1.Check1[0].value == 1)
      scan_all_categories(s, host, run, rule, line_number);
    else if (run.categories.empty())
      scan_text(s, host, run, rule, line_number);
    else
      scan_categories(s, host, run, rule, line_number);
  });
}

}  // namespace zw
