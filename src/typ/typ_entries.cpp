#include "typ/typ_entries.h"

#include <algorithm>

#include "base/numbers.h"
#include "base/text.h"
#include "typ/typ_sections.h"
#include "model/typ_tables.h"

namespace zw {
namespace {

// A bitmap of a section: its header's size and colour count, its colour lines
// and its rows.
struct Bitmap {
  bool present = false;
  long width = 0, height = 0, colours = 0;
  std::vector<std::optional<Colour>> palette;
  std::vector<std::string> rows;
};

std::string_view trimmed(std::string_view s) {
  auto from = s.find_first_not_of(" \t");
  if (from == std::string_view::npos) return {};
  return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

// "#RRGGBB" after the colour's "c"; nothing for "none" or anything else.
std::optional<Colour> colour_of(std::string_view line) {
  auto hash = line.find('#');
  if (hash == std::string_view::npos || hash + 7 > line.size()) return std::nullopt;
  int v[6];
  for (std::size_t i = 0; i < 6; ++i)
    if ((v[i] = num::hex_digit(line[hash + 1 + i])) < 0) return std::nullopt;
  return rgb(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
}

// The four numbers of an Xpm header "w h colours chars-per-pixel".
void read_header(std::string_view value, Bitmap& b) {
  b.present = true;
  std::vector<long> n;
  for (const auto& word : text::split(text::remove_all(value, "\""), " "))
    if (auto v = typ_number(word); v && n.size() < 3) n.push_back(*v);
  if (n.size() > 0) b.width = n[0];
  if (n.size() > 1) b.height = n[1];
  if (n.size() > 2) b.colours = n[2];
}

std::optional<long> number_after_key(std::string_view piece, std::string_view key) {
  auto v = typ_value(piece, key);
  return v ? typ_number(*v) : std::nullopt;
}

// The colours of a day bitmap that the device shows by day: for a line or a
// polygon of two or four colours the first two, the others being the night's.
std::vector<std::optional<Colour>> day_colours(const TypEntry& e, const Bitmap& day, bool bitmap) {
  auto p = day.palette;
  std::size_t keep = p.size();
  if (e.kind != 2) {
    if (bitmap)
      keep = 2;
    else
      keep = e.kind == 1 && e.border > 0 ? 2 : 1;
  }
  if (p.size() > keep) p.resize(keep);
  return p;
}

// Whether the header asks for day and night colours: 2 for a solid polygon or
// a line without border, 4 for a bitmap or a bordered line.
bool declares_night(const TypEntry& e, const Bitmap& day, bool bitmap) {
  if (e.kind == 2) return false;
  bool two = !bitmap && !(e.kind == 1 && e.border > 0);
  return day.colours == (two ? 2 : 4);
}

TypEntry read_entry(const TypSection& section) {
  TypEntry e;
  e.kind = section.kind;
  e.line = section.line;
  std::optional<int> sub;
  if (auto n = number_after_key(section.piece, "subtype"); n && *n <= 0xff)
    sub = static_cast<int>(*n);
  if (auto type = typ_value(section.piece, "type")) e.key = typ_key(*type, sub).value_or("");
  if (auto n = number_after_key(section.piece, "borderwidth"); n && *n < 1000)
    e.border = static_cast<int>(*n);
  long line_width = number_after_key(section.piece, "linewidth").value_or(0);

  Bitmap day, night;
  Bitmap* open = nullptr;
  bool day_custom = false, night_custom = false, day_and_night = false;
  for_each_typ_line(section.piece, [&](std::string_view raw, int n) {
    if (n == 0) return true;  // the header's rest
    auto line = trimmed(raw);
    auto lower = text::lower(line);
    auto value = text::after(line, "=");
    if (lower.starts_with("xpm=") || lower.starts_with("dayxpm=")) {
      read_header(value, day);
      open = &day;
    } else if (lower.starts_with("nightxpm=")) {
      read_header(value, night);
      open = &night;
    } else if (lower.starts_with("daycustomcolor")) {
      day_custom = true;
    } else if (lower.starts_with("nightcustomcolor")) {
      night_custom = true;
    } else if (lower.starts_with("customcolor")) {
      day_and_night = text::contains(lower, "dayandnight");
    } else if (open && typ_colour_line(line)) {
      if (open->palette.size() < typ_limits::colours) open->palette.push_back(colour_of(line));
    } else if (open && line.starts_with('"') && open->rows.size() < typ_limits::square_rows) {
      open->rows.push_back(text::remove_all(line.substr(0, typ_limits::row_chars), "\""));
    }
    return true;
  });

  bool bitmap = day.width > 0 && day.height > 0 && !day.rows.empty();
  if (bitmap) e.rows = day.rows;
  if (e.kind == 1)
    e.width = bitmap ? static_cast<int>(day.rows.size())
                     : static_cast<int>(std::clamp(line_width, 0L, 1000L));
  e.day = day_colours(e, day, bitmap);
  auto given = static_cast<long>(day.palette.size());
  if (given > 0 && declares_night(e, day, bitmap) && given < day.colours)
    e.night_missing = "its Xpm declares " + text::decimal(day.colours) +
                      " colours for day and night but gives " + text::decimal(given);
  else if (given > 0 && night.present && night.colours > static_cast<long>(night.palette.size()))
    e.night_missing = "its NightXpm declares " + text::decimal(night.colours) +
                      " colours but gives " +
                      text::decimal(static_cast<long long>(night.palette.size()));
  else if (day_and_night && day_custom && !night_custom)
    e.night_missing = "CustomColor=DayAndNight without a NightCustomColor";
  return e;
}

}  // namespace

TypFile read_typ_file(std::string_view all) {
  TypFile file;
  for (const auto& section : typ_sections(all)) {
    auto header = text::lower(section.header);
    if (section.kind >= 0) {
      file.entries.push_back(read_entry(section));
    } else if (header == "[_draworder]") {
      file.has_draw_order = true;
      int line = section.line;
      for_each_typ_line(section.piece, [&](std::string_view raw, int n) {
        auto t = trimmed(raw);
        if (text::lower(t.substr(0, 5)) == "type=" &&
            file.draw_order.size() < typ_limits::draw_order)
          if (auto key = typ_key(text::before(t.substr(5), ",")))
            file.draw_order.emplace(*key, line + 1 + n);
        return true;
      });
    } else if (header == "[_id]") {
      for_each_typ_line(section.piece, [&](std::string_view raw, int n) {
        auto t = trimmed(raw);
        if (text::lower(t.substr(0, 4)) != "fid=") return true;
        file.family_id = typ_number(t.substr(4));
        file.family_id_line = section.line + 1 + n;
        return false;
      });
    }
  }
  return file;
}

}  // namespace zw
