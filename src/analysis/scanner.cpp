#include "analysis/scanner.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

#include "base/failure.h"
#include "base/numbers.h"
#include "base/text.h"

namespace zw {
namespace {

constexpr Colour scanned_mark = rgb(180, 180, 190);

// The parts of a rule line that every variant works from: views into the
// lower-cased text of the file, which outlives the line's scan.
struct RuleLine {
  std::string_view text;      // trimmed, comment cut
  bool level = false;         // the keyword is "level "
  std::string_view raw_tail;  // after the keyword and the blanks after it
};

// The type after "0x" up to the next blank, as written; empty when there is none.
std::string_view type_text(std::string_view rule) {
  auto p = rule.find("0x");
  if (p == std::string_view::npos) return {};
  // A type is a few bytes: a loop, not a call to the library.
  auto q = p + 2;
  while (q < rule.size() && rule[q] != ' ') ++q;
  if (q == rule.size()) return {};
  return rule.substr(p + 2, q - p - 2);
}

// Where the value after the rule's keyword starts: "resolution" where it
// stands as a word (at the start of the line or after a blank, a TAB or "[",
// and followed by a blank or a TAB), else "level" standing so, past the
// blanks and TABs after it; npos when neither does. So "admin_level = 2" is
// no level, and "resolution  21" is resolution 21.
struct KeywordAt {
  std::size_t value = std::string_view::npos;
  bool level = false;
};

KeywordAt find_keyword(std::string_view line) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const char* p = line.data();
  std::size_t n = line.size();
  KeywordAt level;
  // The keyword that stands as a word at `at`, if any; a level is kept while
  // a resolution is looked for further on. True when the search is over.
  auto word_at = [&](std::size_t at, KeywordAt& found) {
    if (at > 0 && !blank(p[at - 1]) && p[at - 1] != '[') return false;
    for (std::string_view word : {std::string_view("resolution"), std::string_view("level")}) {
      auto end = at + word.size();
      if (end >= n || !blank(p[end]) || std::memcmp(p + at, word.data(), word.size()) != 0)
        continue;
      while (end < n && blank(p[end])) ++end;
      if (word[0] == 'r') {
        found = {end, false};
        return true;
      }
      if (level.value == std::string_view::npos) level = {end, true};
    }
    return false;
  };
  KeywordAt found;
  // Both keywords start with "re" or "le": such pairs are found sixteen
  // places at a time, the last block reaching back to end with the line.
  if (text::words_read_in_order && n >= 17) {
    for (std::size_t at = 0; at + 1 < n; at += 16) {
      std::size_t base = std::min(at, n - 17);
      auto b = text::block_at(p + base);
      auto pairs = ((b == 'r') | (b == 'l')) & (text::block_at(p + base + 1) == 'e');
      for (std::size_t k = at - base; k < 16; ++k) {
        k += text::clean_bytes(pairs, k);
        if (k < 16 && word_at(base + k, found)) return found;
      }
    }
    return level;
  }
  for (std::size_t at = 0; at + 1 < n; ++at)
    if ((p[at] == 'r' || p[at] == 'l') && p[at + 1] == 'e' && word_at(at, found)) return found;
  return level;
}

// "12", or "b)12" for line 12 of the second included file.
std::size_t line_reference(char* to, const ScanRun& run, int line_number) {
  char* start = to;
  if (run.include_index >= 0) {
    *to++ = static_cast<char>('a' + run.include_index);
    *to++ = ')';
  }
  return static_cast<std::size_t>(std::to_chars(to, to + 11, line_number).ptr - start);
}

// TABs become blanks, then each pair of blanks one blank (so four make two),
// in one pass: every stored rule goes through here. Plain stretches, with no
// TAB and no blank after a blank or a TAB, are copied a block or a word at a
// time; other bytes go one by one, without a branch, which blanks at random
// places would mispredict. Returns the length written.
std::size_t squeeze_into(char* to, std::string_view t) {
  char* start = to;
  const char* p = t.data();
  std::size_t n = t.size(), i = 0;
  bool pending = false;  // the byte written last is a blank not yet paired
  auto one_byte = [&] {
    char c = p[i++];
    bool blank = (c == ' ') | (c == '\t');
    bool drop = pending & blank;
    *to = blank ? ' ' : c;
    to += !drop;
    pending = blank & !drop;
  };
  // How many bytes of the block at `at`, from its byte `from` on, are plain:
  // no TAB, and no blank after a blank or a TAB. They are copied as they are.
  auto plain_bytes = [&](std::size_t at, std::size_t from) {
    auto b = text::block_at(p + at), before = text::block_at(p + at - 1);
    auto blank = (b == ' ') | (b == '\t');
    return text::clean_bytes((b == '\t') | (blank & ((before == ' ') | (before == '\t'))), from);
  };
  auto copy_plain = [&](std::size_t at, std::size_t from) {
    auto plain = plain_bytes(at, from);
    std::memcpy(to - from, p + at, 16);
    if (plain > 0) pending = p[i + plain - 1] == ' ';
    to += plain;
    i += plain;
    return plain;
  };
  if (text::words_read_in_order && n >= 17) {
    one_byte();  // the blocks look one byte back
    while (i + 16 <= n)
      if (copy_plain(i, 0) < 16) one_byte();
    // The last bytes, as the last sixteen, where every byte before them was
    // copied as it stands: those in that block are written again.
    if (auto from = i - (n - 16); i < n && static_cast<std::size_t>(to - start) == i &&
                                  text::clean_bytes(text::block_at(p + n - 16) == '\t') >= from)
      copy_plain(n - 16, from);
  }
  while (i < n) {
    if (text::words_read_in_order && i + 8 <= n) {
      auto w = text::word_at(p + i);
      auto blanks = text::flags_equal(w, ' ');
      if (text::flags_equal(w, '\t') == 0 && (blanks & (blanks >> 8)) == 0 &&
          !(pending && (blanks & 0x80))) {
        std::memcpy(to, p + i, 8);
        to += 8;
        i += 8;
        pending = (w >> 56) == ' ';
        continue;
      }
    }
    one_byte();
  }
  return static_cast<std::size_t>(to - start);
}

// The tail up to its first blank, where every "]" counts as one: "20]" reads 20.
std::string_view cut_tail(std::string_view raw_tail) {
  // A loop, not find_first_of, which calls the library once per byte.
  std::size_t end = 0;
  while (end < raw_tail.size() && raw_tail[end] != ' ' && raw_tail[end] != ']') ++end;
  return raw_tail.substr(0, end);
}

// The rule tail after range resolution, with its upper value, and whether the
// level flag is still set (a single level number).
struct Tail {
  std::string value;
  double number = 0;  // the value of the text
  int upper = 24;
  bool level = false;
  bool cont = false;
};

Tail resolve_tail(AppState& s, Host& host, const RuleLine& rule) {
  Tail t;
  t.cont = rule.raw_tail.find("continue") != std::string_view::npos;
  auto cut = cut_tail(rule.raw_tail);
  t.level = rule.level;
  if (std::find(cut.begin(), cut.end(), '-') != cut.end()) {
    t.value = get_res(s, host, s.selected_kind, cut, t.upper, t.level);
    t.level = false;
  } else {
    t.value = cut;
  }
  t.number = num::val(t.value);
  return t;
}

// The values of a row that the variants work out; its texts are built by store.
struct Row {
  int from = 0;
  int to = 24;
  bool cont = false;
  bool squeeze = true;  // the rule text with TABs and double blanks squeezed
};

void store(AppState& s, ScanRun& run, const RuleLine& rule, int line_number, const Row& row) {
  int k = s.selected_kind;
  auto& r = s.results;
  int i = run.rows;
  r.reach(k, i);
  auto from = static_cast<std::uint8_t>(num::to_byte(row.from));
  auto to = static_cast<std::uint8_t>(num::to_byte(row.to));
  auto row_index = static_cast<std::size_t>(i);
  auto type = type_text(rule.text);
  r.rule_type[k].set_with(row_index, type.size(), [&](char* to) {
    for (char c : type) *to++ = text::upper_ascii(c);
    return type.size();
  });
  if (row.squeeze)
    r.rule_text[k].set_with(row_index, rule.text.size(),
                            [&](char* to) { return squeeze_into(to, rule.text); });
  else
    r.rule_text[k].set(row_index, rule.text);
  r.rule_line[k].set_with(row_index, 13,
                          [&](char* to) { return line_reference(to, run, line_number); });
  r.res_from[k][i] = from;
  r.res_to[k][i] = to;
  r.rule_continue[k][i] = row.cont ? 1 : 0;
  ++run.rows;
}

// The selected-resolution test of the text and category scans.
bool passes_selected_resolution(AppState& s, const RuleLine& rule, const Tail& tail) {
  if (s.selected_res <= -1) return true;
  auto n = text::decimal(s.selected_res);
  bool equal = tail.number == s.selected_res;
  if (text::contains(rule.text, " " + n + "-")) return equal;
  if (!text::contains(rule.text, " " + n)) return equal;
  return true;
}

void scan_all_categories(AppState& s, Host& host, ScanRun& run, const RuleLine& rule,
                         int line_number) {
  Tail tail = resolve_tail(s, host, rule);
  if (s.selected_res != -1) {
    if (tail.level) {
      int res = level_resolution(s, tail.number);
      tail.value = text::decimal(res);
      tail.number = res;
      tail.level = false;
    }
    if (tail.value != text::decimal(s.selected_res)) return;
  }
  Row row;
  if (tail.level) {
    double level = tail.number;
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
    row.from = num::to_byte(tail.number);
  }
  if (row.from > 0 && s.selected_res == -1)
    attempt(host, [&] { scale_label(s.f1, row.from).bold = true; });
  row.to = tail.upper;
  row.cont = tail.cont;
  store(s, run, rule, line_number, row);
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
  if (cut_tail(rule.raw_tail).empty()) return;
  Row row;
  row.squeeze = false;
  Tail& tail = lazy.get();
  if (tail.level) {
    double level = tail.number;
    if (level <= s.levels.main_level_last) {
      int res = level_resolution(s, level);
      attempt(host, [&] { scale_label(s.f1, res).back = scanned_mark; });
    } else {
      level = s.levels.main_level_last;
    }
    row.from = level_resolution(s, level);
  } else {
    row.from = num::to_byte(tail.number);
    attempt(host, [&] { scale_label(s.f1, row.from).back = scanned_mark; });
  }
  if (row.from > 0 && row.from < s.lowest_resolution)
    s.lowest_resolution = static_cast<std::int16_t>(row.from);
  if (row.from == 0) return;
  row.to = tail.upper;
  row.cont = tail.cont;
  store(s, run, rule, line_number, row);
}

void scan_categories(AppState& s, Host& host, ScanRun& run, const RuleLine& rule, int line_number) {
  int n = static_cast<int>(run.categories.size());
  int first = n == s.category_box_last ? 1 : 0;
  if (first >= n) return;
  LazyTail lazy(s, host, rule);
  if (s.selected_res > -1 && !passes_selected_resolution(s, rule, lazy.get())) return;
  for (int i = first; i < n; ++i) {
    if (!text::contains(rule.text, run.categories[static_cast<std::size_t>(i)])) continue;
    if (s.f1.Check4.value == 1 && !text::contains(rule.text, run.filter)) return;
    Row row;
    Tail& t = lazy.get();
    if (t.value.empty()) continue;
    // A failure for one name is shown, and the next name is tried.
    attempt(host, [&] {
      double value = t.number;
      row.from = value < 10 ? level_resolution(s, value) : num::to_byte(value);
      if (row.from == 0) return;
      attempt(host, [&] { scale_label(s.f1, row.from).back = scanned_mark; });
      row.to = t.upper;
      row.cont = t.cont;
      store(s, run, rule, line_number, row);
    });
  }
}

}  // namespace

int level_resolution(const AppState& s, double level) {
  long long index = num::round_half_even(level, -2147483648LL, 2147483647LL);
  return bounded(s.levels.level_res, index, "level_res");
}

std::string get_typ(std::string_view s1) {
  return text::upper(type_text(s1));
}

std::string get_res(AppState& s, Host& host, int, std::string_view s2, int& mx, bool lv) {
  // The first two pieces of the tail split at "-".
  auto cut = s2.substr(0, s2.find(' '));
  auto dash = cut.find('-');
  auto first = cut.substr(0, dash);
  std::string_view second;
  if (dash != std::string_view::npos) {
    auto rest = cut.substr(dash + 1);
    second = rest.substr(0, rest.find('-'));
  }
  double a = num::val(first), b = num::val(second);
  if (lv) {
    a = level_resolution(s, a);
    b = level_resolution(s, b);
  }
  bool ascending = b > a;
  mx = num::to_int16(ascending ? b : a);
  double lower = ascending ? a : b;
  if (lower > mx) {
    mx = num::to_int16(lower);
    host.message("oops res");
  }
  // Levels give the resolution they stand for.
  if (lv) return text::decimal(static_cast<long long>(ascending ? a : b));
  return std::string(ascending ? first : second);
}

void scan_line(AppState& s, Host& host, ScanRun& run, std::string_view line, int line_number) {
  RuleLine rule;
  auto from = line.find_first_not_of(' ');
  if (from == std::string_view::npos) return;
  rule.text = line.substr(from, line.find_last_not_of(' ') - from + 1);
  rule.text = rule.text.substr(0, rule.text.find('#'));
  if (rule.text.empty()) return;
  auto [value, level] = find_keyword(rule.text);
  if (value == std::string_view::npos) return;
  rule.level = level;
  if (s.f1.Check4.value == 1 && !run.filter.empty() && !text::contains(rule.text, run.filter))
    return;
  rule.raw_tail = rule.text.substr(value);

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
