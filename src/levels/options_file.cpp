#include "levels/options_file.h"

#include <functional>
#include <limits>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/failure.h"
#include "base/include_statements.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text_files.h"
#include "base/text.h"

namespace zw {
namespace {

constexpr long long widest = std::numeric_limits<int>::max();

const char* const missing_colon = "Options file missing ':'";

// A levels list with more entries than this is cut: resolutions are 1 to 24,
// and a list of millions must not cost millions of messages.
constexpr std::size_t most_level_entries = 255;

struct Read {
  AppState& s;
  Host& host;
  long long highest = 0;  // highest main level number so far
  std::string main_text, overview_text;
  std::string file;  // where the current line stands, for cautions
  int line = 0;
};

// The "level:resolution" pieces of a list: separated by commas (an empty one
// kept, as a place in the table) and, as mkgmap reads them, by blanks or TABs
// too (blanks around ":" belong to the piece). At most most_level_entries of
// them; the rest are cut with a message.
std::vector<std::string> level_pieces(Read& r, std::string_view list) {
  std::vector<std::string> pieces;
  if (list.find_first_not_of(" \t") == std::string_view::npos) return pieces;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  bool cut = false;
  for (std::size_t start = 0; start <= list.size() && !cut;) {
    auto comma = list.find(',', start);
    auto part = list.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    start = comma == std::string_view::npos ? list.size() + 1 : comma + 1;
    std::string piece;
    bool any = false;
    for (std::size_t i = 0; i < part.size(); ++i) {
      if (!blank(part[i])) {
        piece += part[i];
        continue;
      }
      auto next = part.find_first_not_of(" \t", i);
      bool joins = (!piece.empty() && piece.back() == ':') ||
                   (next != std::string_view::npos && part[next] == ':');
      if (!joins && !piece.empty()) {
        pieces.push_back(std::move(piece));
        piece.clear();
        any = true;
      }
      if (next == std::string_view::npos) break;
      i = next - 1;
    }
    if (!piece.empty() || !any) pieces.push_back(std::move(piece));
    cut = pieces.size() > most_level_entries;
  }
  if (cut) {
    pieces.resize(most_level_entries);
    r.host.message("Caution: the levels of " + r.file + " line " + text::decimal(r.line) +
                   " have more than " + text::decimal(static_cast<long long>(most_level_entries)) +
                   " entries; the rest are ignored.");
  }
  return pieces;
}

// A resolution that mkgmap cannot use gets a caution naming where it stands.
void check_resolution(Read& r, const std::string& res) {
  // A text that is no whole number gets the conversion's own message.
  if (res.empty() || res.find_first_not_of("0123456789") != std::string::npos) return;
  double v = num::val(res);
  if (v >= 1 && v <= 24) return;
  r.host.message("Caution: resolution " + res + " in " + r.file + " line " + text::decimal(r.line) +
                 " is outside 1-24. Check Options file.");
}

// Walks the "level:resolution" pieces of a list; an empty piece is skipped and
// a piece without ":" ends the list with a message.
template <class Pair>
void for_each_pair(Read& r, const std::vector<std::string>& pieces, Pair&& pair) {
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    const auto& piece = pieces[j];
    if (piece.empty()) continue;
    if (!text::contains(piece, ":")) {
      r.host.message(missing_colon);
      return;
    }
    auto parts = text::split(text::remove_all(piece, " "), ":");
    auto res = parts.size() > 1 ? parts[1] : std::string();
    check_resolution(r, res);
    pair(j, parts[0], res);
  }
}

// The list after "=" (the whole text without one), and the pieces of it.
std::vector<std::string> list_of(Read& r, const std::string& line, std::string& list_text) {
  std::string list = text::contains(line, "=") ? text::after(line, "=") : line;
  auto pieces = level_pieces(r, list);
  list_text.clear();
  for (const auto& p : pieces)
    list_text += (list_text.empty() ? "" : ",") + text::remove_all(p, " ");
  return pieces;
}

// Where a value of the list being read stands, for a message about it.
std::string where(const Read& r) {
  return r.file + ", line " + text::decimal(r.line);
}

void read_overview(Read& r, const std::string& line) {
  auto& lv = r.s.levels;
  auto pieces = list_of(r, line, r.overview_text);
  lv.overview_res.assign(pieces.size(), 0);
  lv.overview_level.assign(pieces.size(), 0);
  lv.overview_level_last = static_cast<int>(pieces.size()) - 1;
  for_each_pair(r, pieces, [&](std::size_t j, const std::string& level, const std::string& res) {
    if (num::val(level) <= static_cast<double>(r.highest))
      r.host.message("Caution: Overview levels overlap of Main levels!Check Options file.");
    if (num::val(res) >= r.s.lowest_resolution)
      r.host.message("Caution: Overview resolution overlap of Main levels!Check Options file.");
    attempt_at(r.host, where(r), [&] {
      lv.overview_res[j] = static_cast<std::uint8_t>(num::to_byte(num::val(res)));
    });
    attempt_at(r.host, where(r), [&] {
      lv.overview_level[j] = static_cast<std::uint8_t>(num::to_byte(num::val(level)));
    });
    if (num::val(res) < r.s.lowest_resolution)
      attempt_at(r.host, where(r), [&] {
        r.s.lowest_resolution = static_cast<std::int16_t>(num::to_whole(res, -32768, 32767));
      });
  });
}

void read_main(Read& r, const std::string& line) {
  auto& lv = r.s.levels;
  auto pieces = list_of(r, line, r.main_text);
  lv.level_res.assign(pieces.size(), 0);
  lv.main_level_last = static_cast<int>(pieces.size()) - 1;
  for_each_pair(r, pieces, [&](std::size_t j, const std::string& level, const std::string& res) {
    attempt_at(r.host, where(r),
               [&] { lv.level_res[j] = static_cast<std::uint8_t>(num::to_whole(res, 0, 255)); });
    if (num::val(level) > static_cast<double>(r.highest))
      attempt_at(r.host, where(r),
                 [&] { r.highest = num::round_half_even(num::val(level), -widest, widest); });
    if (num::val(res) < r.s.lowest_resolution)
      attempt_at(r.host, where(r), [&] {
        r.s.lowest_resolution = static_cast<std::int16_t>(num::to_int16(num::val(res)));
      });
  });
}

// Each line of the options file that may declare levels, each include statement replaced by the
// lines of the file it names (relative to the style folder, to any depth, each file once however
// many names lead to it), so that levels found there count as if they stood in options. A line ends
// at LF, CR LF or a lone CR, as mkgmap reads it. The texts are walked in place: memory stays that
// of the files.
void for_each_options_line(
    Host& host, const std::string& dir, const std::string& file,
    const std::function<void(const std::string&, int, std::string_view)>& each) {
  struct Open {
    std::string path, content;
    std::size_t next = 0;
    int number = 0;
  };
  auto& fs = host.fs();
  auto identity = [&](const std::string& path) {
    auto real = fs.real_path(path);
    return paths::normal(real.empty() ? path : real);
  };
  std::unordered_set<std::string> seen{identity(file)};
  std::vector<Open> open;
  open.push_back({file, loadtext(host, file)});
  while (!open.empty()) {
    auto& current = open.back();
    if (current.next >= current.content.size()) {
      open.pop_back();
      continue;
    }
    std::string_view all(current.content);
    auto end = current.next;
    while (end < all.size() && all[end] != '\n' && all[end] != '\r') ++end;
    auto line = all.substr(current.next, end - current.next);
    current.next = end + (end + 1 < all.size() && all[end] == '\r' && all[end + 1] == '\n' ? 2 : 1);
    bool first = current.number++ == 0;
    // Only lines that name levels or include a file matter; the rest (blank
    // lines, other options) cost one search each, however many a file holds.
    if (line.find("levels") == std::string_view::npos &&
        line.find("include") == std::string_view::npos)
      continue;
    auto name = include_statement(first ? without_bom(line) : line);
    if (!name) {
      each(current.path, current.number, line);
      continue;
    }
    if (name->size() > longest_path) {
      host.message(too_long_include_message(*name, current.path));
      continue;
    }
    auto path = paths::collapse(paths::to_host(dir + paths::sep_text + *name));
    if (!seen.insert(identity(path)).second) continue;
    if (auto content = read_whole(host, path, true)) open.push_back({path, std::move(*content)});
  }
}

// Appends the overview resolutions to the main list.
void join_lists(Read& r) {
  auto& lv = r.s.levels;
  lv.level_last = lv.main_level_last + lv.overview_level_last + 1;
  if (lv.level_last < 0) {
    lv.level_res.clear();
    lv.level_last = -1;
    fail("The options file declares no levels: the level table is empty");
  }
  lv.level_res.resize(static_cast<std::size_t>(lv.level_last) + 1, 0);
  for (int k = lv.main_level_last + 1; k <= lv.level_last; ++k)
    lv.level_res[static_cast<std::size_t>(k)] =
        bounded(lv.overview_res, k - lv.main_level_last - 1, "overview_res");
}

}  // namespace

void get_levels(AppState& s, Host& host, const std::string& ff) {
  auto& lv = s.levels;
  s.lowest_resolution = 24;
  s.results.re_dim(result_rows - 1);
  // Nothing of the previous style's levels stays: a style without an
  // overview list has no overview limit.
  lv = LevelTable{};

  auto file = paths::collapse(paths::to_host(ff + paths::sep_text + "options"));
  if (!host.fs().file_exists(file)) {
    auto shown = paths::collapse(paths::to_host(s.style_root + paths::sep_text + s.style_name +
                                                paths::sep_text + "options"));
    // A style root listed before any style is chosen is no failure.
    if (!paths::part(s.style_name, 2).empty())
      host.message("Cannot find style's options file\r\n\r\n" + shown);
    lv.options_found = false;
    // No levels of this style: none of the previous one's either.
    s.f1.Label4.caption = "Levels:";
    return;
  }
  lv.options_found = true;
  Read r{s, host, 0, {}, {}, {}, 0};
  // A failure while reading (memory running out) is shown, not swallowed, and
  // counts as a file not read: the level table is not the style's.
  bool finished = false;
  attempt(host, [&] {
    for_each_options_line(host, ff, file,
                          [&](const std::string& from, int number, std::string_view text) {
                            std::string line(text.substr(0, text.find('#')));
                            if (!text::contains(line, "levels")) return;
                            auto squeezed = text::remove_all(line, " ");
                            r.file = from;
                            r.line = number;
                            // The list keeps its blanks: between entries they separate, as commas
                            // do.
                            if (text::contains(squeezed, "overview"))
                              read_overview(r, line);
                            else if (text::contains(text::lower(squeezed), "levels="))
                              read_main(r, line);
                          });
    finished = true;
  });
  if (!finished) ++host.unread_files;
  attempt(host, [&] { join_lists(r); });
  s.f1.Label4.caption = "Levels:" + r.main_text + " + " + r.overview_text;
}

std::string chklev(const AppState& s, const std::string& s5, bool upper_end) {
  long long r = num::round_half_even(num::val(s5), -widest, widest);
  const auto& lv = s.levels;
  const auto& res = lv.level_res;
  int last = std::min<int>(lv.level_last, static_cast<int>(res.size()) - 1);
  for (int i = 0; i <= last; ++i)
    if (res[static_cast<std::size_t>(i)] == r) return text::decimal(i);
  // mkgmap draws a resolution at every level whose resolution is at least as
  // fine, so a value between two main levels goes to the finer one. The upper
  // end of a range goes to the coarser one, the last level still below it.
  if (!upper_end) {
    int main_last = std::min(lv.main_level_last, last);
    for (int i = 0; i < main_last; ++i) {
      int a = res[static_cast<std::size_t>(i)], b = res[static_cast<std::size_t>(i) + 1];
      if (std::min(a, b) < r && r < std::max(a, b)) return text::decimal(a > b ? i : i + 1);
    }
  }
  for (int i = 0; i <= last; ++i)
    if (r > res[static_cast<std::size_t>(i)]) return text::decimal(i);
  return text::decimal(lv.main_level_last);
}

std::string convertrl(const AppState& s, const std::string& ss) {
  if (!text::contains(ss, "-")) return chklev(s, ss);
  auto first = text::before(ss, "-"), second = text::after(ss, "-");
  // A range of one resolution is that resolution: both ends at its level.
  if (num::val(first) == num::val(second)) {
    auto level = chklev(s, first);
    return level + "-" + level;
  }
  bool first_is_lower = num::val(first) <= num::val(second);
  return chklev(s, first, !first_is_lower) + "-" + chklev(s, second, first_is_lower);
}

}  // namespace zw
