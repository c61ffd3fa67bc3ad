#include "levels/options_file.h"

#include <limits>
#include <unordered_set>
#include <vector>

#include "app/failure.h"
#include "app/include_statements.h"
#include "app/numbers.h"
#include "app/paths.h"
#include "app/shell.h"
#include "app/text.h"

namespace zw {
namespace {

constexpr long long widest = std::numeric_limits<int>::max();

const char* const missing_colon = "Options file missing ':'";

struct Read {
  AppState& s;
  Host& host;
  long long highest = 0;  // highest main level number so far
  std::string main_text, overview_text;
};

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
    auto parts = text::split(piece, ":");
    pair(j, parts[0], parts.size() > 1 ? parts[1] : std::string());
  }
}

void read_overview(Read& r, const std::string& line) {
  auto& lv = r.s.levels;
  r.overview_text = text::contains(line, "=") ? text::after(line, "=") : line;
  auto pieces = text::split(r.overview_text, ",");
  lv.overview_res.assign(pieces.size(), 0);
  lv.overview_level.assign(pieces.size(), 0);
  lv.overview_level_last = static_cast<int>(pieces.size()) - 1;
  for_each_pair(r, pieces, [&](std::size_t j, const std::string& level, const std::string& res) {
    if (num::val(level) <= static_cast<double>(r.highest))
      r.host.message("Caution: Overview levels overlap of Main levels!Check Options file.");
    if (num::val(res) >= r.s.lowest_resolution)
      r.host.message("Caution: Overview resolution overlap of Main levels!Check Options file.");
    attempt(r.host, [&] { lv.overview_res[j] = static_cast<std::uint8_t>(num::to_byte(num::val(res))); });
    attempt(r.host, [&] { lv.overview_level[j] = static_cast<std::uint8_t>(num::to_byte(num::val(level))); });
    if (num::val(res) < r.s.lowest_resolution)
      attempt(r.host, [&] {
        r.s.lowest_resolution = static_cast<std::int16_t>(num::to_whole(res, -32768, 32767));
      });
  });
}

void read_main(Read& r, const std::string& line) {
  auto& lv = r.s.levels;
  r.main_text = text::after(line, "=");
  auto pieces = text::split(r.main_text, ",");
  lv.level_res.assign(pieces.size(), 0);
  lv.main_level_last = static_cast<int>(pieces.size()) - 1;
  for_each_pair(r, pieces, [&](std::size_t j, const std::string& level, const std::string& res) {
    attempt(r.host, [&] { lv.level_res[j] = static_cast<std::uint8_t>(num::to_whole(res, 0, 255)); });
    if (num::val(level) > static_cast<double>(r.highest))
      attempt(r.host, [&] { r.highest = num::round_half_even(num::val(level), -widest, widest); });
    if (num::val(res) < r.s.lowest_resolution)
      attempt(r.host, [&] {
        r.s.lowest_resolution = static_cast<std::int16_t>(num::to_int16(num::val(res)));
      });
  });
}

// The lines of the options file, each include statement replaced by the lines
// of the file it names (relative to the style folder, to any depth, each file
// once), so that levels found there count as if they stood in options.
std::vector<std::string> options_lines(Host& host, const std::string& dir, const std::string& file) {
  struct Open {
    std::vector<std::string> lines;
    std::size_t next = 0;
  };
  auto lines_of = [](const std::string& content) { return text::split(text::remove_all(content, "\r"), "\n"); };
  std::unordered_set<std::string> seen{paths::normal(file)};
  std::vector<Open> open{{lines_of(loadtext(host, file))}};
  std::vector<std::string> out;
  while (!open.empty()) {
    auto& current = open.back();
    if (current.next >= current.lines.size()) {
      open.pop_back();
      continue;
    }
    bool first = current.next == 0;
    std::string line = std::move(current.lines[current.next++]);
    auto name = include_statement(first ? without_bom(line) : std::string_view(line));
    if (!name) {
      out.push_back(std::move(line));
      continue;
    }
    auto path = paths::collapse(paths::to_host(dir + paths::sep_text + *name));
    if (!seen.insert(paths::normal(path)).second) continue;
    if (auto content = read_whole(host, path, true)) open.push_back({lines_of(*content)});
  }
  return out;
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
  lv.main_level_last = -1;
  lv.overview_level_last = -1;

  auto file = paths::collapse(paths::to_host(ff + paths::sep_text + "options"));
  if (!host.fs().file_exists(file)) {
    auto shown = paths::collapse(paths::to_host(s.style_root + paths::sep_text + s.style_name +
                                                paths::sep_text + "options"));
    // A style root listed before any style is chosen is no failure.
    if (!paths::part(s.style_name, 2).empty())
      host.message("Cannot find style's options file\r\n\r\n" + shown);
    lv.options_found = false;
    return;
  }
  lv.options_found = true;
  Read r{s, host, 0, {}, {}};
  for (auto line : options_lines(host, ff, file)) {
    if (text::contains(line, "#")) line = text::before(line, "#");
    if (!text::contains(line, "levels")) continue;
    line = text::remove_all(line, " ");
    if (text::contains(line, "overview"))
      read_overview(r, line);
    else if (text::contains(text::lower(line), "levels="))
      read_main(r, line);
  }
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
  bool first_is_lower = num::val(first) <= num::val(second);
  return chklev(s, first, !first_is_lower) + "-" + chklev(s, second, first_is_lower);
}

}  // namespace zw
