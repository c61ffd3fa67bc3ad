#include "analysis/analysis.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/includes.h"
#include "analysis/scanner.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text_files.h"
#include "model/caption_and_canvas.h"
#include "base/text.h"

namespace zw {
namespace {

constexpr Colour main_level_mark = rgb(100, 200, 100);
constexpr Colour overview_level_mark = rgb(186, 170, 164);

void lay_out_scale(AppState& s) {
  auto& f = s.f1;
  int columns = 25 - s.lowest_resolution;
  if (columns <= 0)
    fail("Division by zero: the lowest resolution is " + std::to_string(s.lowest_resolution));
  double step = static_cast<double>(f.p2.width() - 2 * f.vs.bounds.width - 600) / columns;
  int w = static_cast<int>(num::round_half_even(step, -2147483647LL, 2147483647LL));
  for (int r = s.lowest_resolution; r <= 24; ++r) {
    auto& label = scale_label(s.f1, r);
    label.bounds.width = w;
    label.bounds.left = (r - s.lowest_resolution) * w + 600;
    label.caption = text::decimal(r);
    label.visible = true;
  }
}

void mark_levels(AppState& s, Host& host) {
  const auto& lv = s.levels;
  for (int i = 0; i <= lv.main_level_last; ++i)
    attempt(host, [&] {
      auto& label = scale_label(s.f1, bounded(lv.level_res, i, "level_res"));
      label.back = main_level_mark;
      label.caption += " L" + text::decimal(i);
    });
  for (int i = 0; i <= lv.overview_level_last; ++i)
    attempt(host, [&] {
      auto& label = scale_label(s.f1, bounded(lv.overview_res, i, "overview_res"));
      label.back = overview_level_mark;
      label.fore = colours::dark_red;
      label.caption += " L" + text::decimal(bounded(lv.overview_level, i, "overview_level"));
    });
}

std::vector<std::string> category_list(const AppState& s) {
  std::vector<std::string> names;
  const auto& boxes = s.f1.Check1;
  int last = std::min<int>(s.category_box_last, category_boxes - 1);
  if (boxes[0].value != 1) {
    for (int i = 0; i <= last; ++i)
      if (boxes[static_cast<std::size_t>(i)].value == 1)
        names.push_back(text::lower(boxes[static_cast<std::size_t>(i)].caption));
  } else {
    for (int i = 1; i <= last; ++i)
      if (boxes[static_cast<std::size_t>(i)].visible)
        names.push_back(text::lower(boxes[static_cast<std::size_t>(i)].caption));
  }
  return names;
}

// The TYP entries follow the rows when the sort exchanges them, while the
// table of the kind is long enough.
bool typ_follows_sort(const AppState& s, int rows) {
  if (s.typ_file.empty() || rows >= s.typ.lines.count - 1) return false;
  switch (s.selected_kind) {
    case 1:
      return true;
    case 0:
      return rows < s.typ.polygons.count - 1;
    case 2:
      return rows < s.typ.points.count - 1;
  }
  return false;
}

// Puts rows 0 .. order.size()-1 of a table into the given order.
template <class Column>
void reorder(Column& column, const std::vector<std::size_t>& order, const char* name) {
  if (column.size() < order.size()) fail(std::string("Subscript out of range: ") + name);
  Column sorted;
  sorted.reserve(column.size());
  for (auto i : order) sorted.push_back(std::move(column[i]));
  for (std::size_t i = order.size(); i < column.size(); ++i) sorted.push_back(std::move(column[i]));
  column = std::move(sorted);
}

// Orders the rows by their first resolution, rows of equal resolution in file
// order: what exchanging neighbours until none is out of order gives, in
// n log n rather than n squared, so that thousands of rows sort at once.
void sort_rows(AppState& s, Host& host, int rows) {
  int k = s.selected_kind;
  auto& r = s.results;
  const auto& from = bounded(r.res_from, k, "kind");
  if (static_cast<int>(from.size()) < rows) fail("Subscript out of range: res_from");
  std::vector<std::size_t> order(static_cast<std::size_t>(rows));
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return from[a] < from[b]; });
  bool with_typ = typ_follows_sort(s, rows);
  auto& t = s.typ.of_kind(k);
  // Every table is checked before any is reordered: rows and swatches stay together.
  if (with_typ && std::min({t.type.size(), t.colours.size(), t.pixels.size()}) < order.size())
    fail("Subscript out of range: typ");
  auto kind = static_cast<std::size_t>(k);
  for (const auto* size : {&r.rule_type[kind], &r.rule_text[kind], &r.rule_line[kind]})
    if (size->size() < order.size()) fail("Subscript out of range: rule_type");
  if (std::min({r.res_to[kind].size(), r.rule_continue[kind].size()}) < order.size())
    fail("Subscript out of range: res_to");
  reorder(r.rule_type[kind], order, "rule_type");
  reorder(r.rule_text[kind], order, "rule_text");
  reorder(r.res_from[kind], order, "res_from");
  reorder(r.res_to[kind], order, "res_to");
  reorder(r.rule_line[kind], order, "rule_line");
  reorder(r.rule_continue[kind], order, "rule_continue");
  if (with_typ) {
    reorder(t.type, order, "typ type");
    reorder(t.colours, order, "typ colours");
    reorder(t.pixels, order, "typ pixels");
  }
  host.do_events();
}

// Where the line from start ends: at its LF (a CR before it stays in the
// line), or at a lone CR, which ends a line as mkgmap reads it; npos at the end.
std::size_t line_end(std::string_view text, std::size_t start) {
  // Two searches of the library (a lone CR is rare), not a test per byte.
  auto lf = text.find('\n', start);
  auto cr = text.substr(0, lf).find('\r', start);
  if (cr == std::string_view::npos || cr + 1 == lf) return lf;
  return cr;
}

// Whether a CR ends a line of the text: one that no LF follows. Most texts
// have none, and then a line ends at its LF alone. Many bytes at a time: the
// CRs of a block against the LFs of the block one byte on.
bool has_lone_cr(std::string_view text) {
  std::size_t n = text.size(), i = 0;
  if (n == 0) return false;
  if (text.back() == '\r') return true;
  const char* p = text.data();
  if (text::words_read_in_order) {
    // Sixteen bytes at a time, exactly; then eight, where the word test may
    // flag a byte that is no CR, which only sends the text the slower way.
    for (; i + 17 <= n; i += 16) {
      auto lone = (text::block_at(p + i) == '\r') & (text::block_at(p + i + 1) != '\n');
      if (text::clean_bytes(lone) < 16) return true;
    }
    for (; i + 9 <= n; i += 8) {
      auto crs = text::flags_equal(text::word_at(p + i), '\r');
      if (crs && (crs & ~text::flags_equal(text::word_at(p + i + 1), '\n'))) return true;
    }
  }
  for (; i + 1 < n; ++i)
    if (p[i] == '\r' && p[i + 1] != '\n') return true;
  return false;
}

// Rows are made room for at once, so that a big table is not moved as it
// grows: about one per line, and a line with a rule is longer than 16 bytes
// (a file of blank lines asks for little).
int rows_expected(std::string_view text) {
  // Counted into a byte for each 255 bytes, which the compiler does many at a
  // time, where a count of the library adds one byte at a time to a word.
  std::size_t lines = 0;
  for (std::size_t at = 0; at < text.size(); at += 255) {
    unsigned char n = 0;
    for (auto c : text.substr(at, 255)) n = static_cast<unsigned char>(n + (c == '\n'));
    lines += n;
  }
  return static_cast<int>(std::min<std::size_t>({lines + 1, text.size() / 16, 1 << 20}));
}

// Every line of a text through the scanner, numbered from `number`: views
// into the text, no copy per line. An empty text has no line at all. Returns
// the number of the text's last line, which no line break ends (the line that
// a further piece of the same file goes on with).
int scan_lines(AppState& s, Host& host, ScanRun& run, std::string_view text, int number,
               bool* include_seen) {
  if (text.empty()) return number;
  // A text where each CR stands before an LF (most do) has its lines found by
  // one search each.
  bool lone_cr = has_lone_cr(text);
  for (std::size_t start = 0;; ++number) {
    auto end = lone_cr ? line_end(text, start) : text.find('\n', start);
    auto line = text.substr(start, end - start);
    if (include_seen && !*include_seen) *include_seen = line_may_include(line);
    scan_line(s, host, run, line, number);
    if (end == std::string_view::npos) return number;
    start = end + 1;
  }
}

// A text scanned a piece at a time, as it is read: it is never held whole,
// and each piece is scanned while it is still in the cache. A piece is
// lower-cased as it is copied, and cut after its last line break, the rest
// going on with the next piece, so every line is scanned whole. With
// test_includes, each line is tested for an include statement as it is
// scanned (lower-casing changes nothing the test looks at).
class PieceScan {
 public:
  // Pieces of this size are what a text in memory is cut into.
  static constexpr std::size_t piece_size = std::size_t{1} << 18;

  PieceScan(AppState& s, Host& host, ScanRun& run, double size, bool test_includes)
      : s_(s), host_(host), run_(run), size_(size), test_includes_(test_includes) {}

  void add(std::string_view piece) {
    if (empty_) make_room(piece);
    if (!piece.empty()) empty_ = false;
    added_ += static_cast<double>(piece.size());
    auto cut = piece.rfind('\n');
    if (cut == std::string_view::npos) {
      // A line longer than a piece: room for the rest of the text at once,
      // rather than copies of a growing line.
      if (room_ - held_ < piece.size() && size_ > added_)
        grow(held_ + piece.size() + static_cast<std::size_t>(size_ - added_));
      append(piece);
      return;
    }
    append(piece.substr(0, cut + 1));
    scan();
    held_ = 0;
    append(piece.substr(cut + 1));
  }
  // Scans the last line, which no line break ends.
  void finish() { scan(); }

  bool empty() const { return empty_; }
  bool may_include() const { return may_include_; }

 private:
  // Room for the rows at once, so that a big table is not moved as it grows:
  // as many as the first piece's lines foretell for the whole text. Room
  // close to what is used keeps the table in few pages.
  void make_room(std::string_view first) {
    if (first.empty() || size_ <= 0) return;
    attempt_quietly([&] {
      double share = std::max(1.0, size_ / static_cast<double>(first.size()));
      auto rows = std::min(rows_expected(first) * share + 64, double{1 << 20});
      s_.results.reserve(s_.selected_kind, run_.rows + static_cast<int>(rows),
                         static_cast<std::size_t>(size_));
    });
  }
  void scan() {
    number_ = scan_lines(s_, host_, run_, {lines_.get(), held_}, number_,
                         test_includes_ ? &may_include_ : nullptr);
  }
  // The lines are copied lower-cased into room kept from piece to piece,
  // which is not cleared first: only bytes copied are read.
  void append(std::string_view more) {
    if (room_ - held_ < more.size()) grow(held_ + more.size());
    text::lower_into(lines_.get() + held_, more);
    held_ += more.size();
  }
  void grow(std::size_t bytes) {
    auto room = std::max(bytes, 2 * room_);
    auto lines = std::make_unique_for_overwrite<char[]>(room);
    if (held_ > 0) std::memcpy(lines.get(), lines_.get(), held_);
    lines_ = std::move(lines);
    room_ = room;
  }

  AppState& s_;
  Host& host_;
  ScanRun& run_;
  double size_, added_ = 0;
  bool test_includes_, empty_ = true, may_include_ = false;
  std::unique_ptr<char[]> lines_;
  std::size_t held_ = 0, room_ = 0;
  int number_ = 1;
};

// An included file's text, scanned a piece at a time like a rule file, so
// that it is not copied whole to be lower-cased.
void scan_included_text(AppState& s, Host& host, ScanRun& run, const std::string& text) {
  PieceScan scan(s, host, run, static_cast<double>(text.size()), false);
  // The text is looked up again for each piece: a message box shown by the
  // scan lets other handlers run.
  for (std::size_t at = 0; at < text.size(); at += PieceScan::piece_size)
    scan.add(std::string_view(text).substr(at, PieceScan::piece_size));
  scan.finish();
}

std::string empty_result_message(const AppState& s, const ScanRun& run) {
  const auto& f = s.f1;
  if (f.Check4.value == 1 && !run.categories.empty())
    return "No results.  Untick any Selected Catagory";
  if (!f.Text2.text.empty()) return "No Resolution Data . Perhaps include text search";
  if (f.inc.value == 1) return "No Resolution Data";
  return "No Resolution Data. Perhaps tick 'INC'";
}

}  // namespace

std::string style_directory(const AppState& s, const std::string& name) {
  return paths::collapse(s.style_root + paths::sep_text + name + paths::sep_text);
}

bool has_files(Host& host, const std::string& dir) {
  return !dir.empty() && !host.fs().list_files(dir, "*").empty();
}

void parse(AppState& s, Host& host, const std::string& path) {
  auto& f = s.f1;
  ++s.analysis_runs;
  if (s.selected_res == -1)
    for (int r = 1; r <= 24; ++r) {
      f.Label3[static_cast<std::size_t>(r)].visible = false;
      f.Label3[static_cast<std::size_t>(r)].bold = false;
    }
  if (path.empty()) {
    host.message("??");
    return;
  }
  if (!has_files(host, path)) {
    host.message("cannot find file:" + path);
    return;
  }
  attempt(host, [&] { lay_out_scale(s); });
  // The scale text turns black before the levels are marked, so that the
  // overview levels keep their red text.
  attempt(host, [&] {
    for (int r = s.lowest_resolution; r <= 24; ++r) scale_label(s.f1, r).fore = colours::black;
  });
  mark_levels(s, host);

  ScanRun run;
  run.categories = category_list(s);
  run.filter = text::lower(f.Text2.text);
  if (f.Check4.value != 1 && !run.categories.empty()) {
    run.filter.clear();
    f.Text2.enabled = false;
  } else {
    f.Text2.enabled = true;
  }
  cap(s);
  f.vs.value = 0;
  f.List1.items.clear();

  host.set_busy(true);
  std::string rule_file = paths::part(path, 0);
  for (int i = 0; i < 3; ++i)
    if (f.Check3[static_cast<std::size_t>(i)].value == 1) {
      rule_file += kind_name(i);
      break;
    }
  cap(s);
  if (s.lowest_resolution == 0) s.lowest_resolution = 24;
  clearpic(s, host);

  bool follow = f.inc.value == 1;
  auto digit = std::to_string(s.selected_kind);
  bool search = follow && !text::contains(s.includes.extra_done, digit);
  PieceScan file(s, host, run, static_cast<double>(host.fs().file_size(rule_file)), search);
  bool read =
      read_in_pieces(host, rule_file, true, [&](std::string_view piece) { file.add(piece); });
  file.finish();
  if (search)
    attempt(host, [&] {
      // The search reads the rule file of the selected kind again only when
      // that file may hold an include statement (or could not be read).
      bool same = rule_file == rule_file_path(s, s.selected_kind);
      if (same && read && !file.empty() && !file.may_include() && !s.scan_busy)
        mark_include_search(s, s.selected_kind);
      else
        chknodata(s, host, s.selected_kind);
    });

  const auto& inc = s.includes;
  while (follow && inc.extra_count > -1 && run.include_index < inc.extra_count) {
    do {
      ++run.include_index;
      host.do_events();
    } while (run.include_index <= inc.extra_count &&
             text::left(inc.extra_files[static_cast<std::size_t>(run.include_index)], 1) != digit);
    if (run.include_index > inc.extra_count) break;
    scan_included_text(s, host, run, inc.extra_texts[static_cast<std::size_t>(run.include_index)]);
  }

  int rows = run.rows;
  if (f.Check2.value == 1 && rows >= 2) attempt(host, [&] { sort_rows(s, host, rows); });

  host.set_busy(false);
  s.result_count = rows;
  f.label1.caption = text::decimal(rows);
  if (rows == 0) {
    msg(s, host, empty_result_message(s, run));
    s.scan_busy = false;
    return;
  }
  const auto& from = bounded(s.results.res_from, s.selected_kind, "kind");
  for (int i = 0; i < rows; ++i) {
    int r = from[static_cast<std::size_t>(i)];
    if (r > 0 && r < s.lowest_resolution) s.lowest_resolution = static_cast<std::int16_t>(r);
  }
  host.set_busy(false);
  s.scan_busy = false;
}

}  // namespace zw
