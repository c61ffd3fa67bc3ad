#include "levels/options_file.h"

#include <limits>

#include "app/failure.h"
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
  auto lines = text::split(text::remove_all(loadtext(host, file), "\r"), "\n");
  for (auto line : lines) {
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

std::string chklev(const AppState& s, const std::string& s5) {
  long long r = num::round_half_even(num::val(s5), -widest, widest);
  const auto& lv = s.levels;
  int candidate = -1;
  int last = std::min<int>(lv.level_last, static_cast<int>(lv.level_res.size()) - 1);
  for (int i = 0; i <= last; ++i) {
    int res = lv.level_res[static_cast<std::size_t>(i)];
    if (res == r) return text::decimal(i);
    if (r > res && candidate < 0) candidate = i;
  }
  return text::decimal(candidate >= 0 ? candidate : lv.main_level_last);
}

std::string convertrl(const AppState& s, const std::string& ss) {
  if (!text::contains(ss, "-")) return chklev(s, ss);
  return chklev(s, text::before(ss, "-")) + "-" + chklev(s, text::after(ss, "-"));
}

}  // namespace zw
