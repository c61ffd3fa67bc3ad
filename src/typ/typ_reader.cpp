#include "typ/typ_reader.h"

#include <algorithm>

#include "base/failure.h"
#include "base/text_files.h"
#include "base/numbers.h"
#include "base/text.h"
#include "typ/typ_sections.h"

namespace zw {
namespace {

constexpr const char* crlf = "\r\n";

// A TYP file has a few hundred sections per kind; the counts are 16-bit
// numbers, and sections past that many are not read.
constexpr int max_entries = 32767;

// The sections of one kind, at most max_entries; an empty text has none and
// gives the count -1.
std::vector<std::string_view> kind_pieces(const std::vector<TypSection>& sections, int kind) {
  std::vector<std::string_view> pieces;
  for (const auto& section : sections)
    if (section.kind == kind && pieces.size() < static_cast<std::size_t>(max_entries))
      pieces.push_back(section.piece);
  return pieces;
}

int piece_count(std::string_view all, const std::vector<std::string_view>& pieces) {
  return all.empty() ? -1 : static_cast<int>(pieces.size());
}

// Calls f(line) for the lines of a piece from its third on (the first two are
// the rest of the header line and the line after it), comments left out.
template <class F>
void for_each_line_from_third(std::string_view piece, F&& f) {
  for_each_typ_line(piece,
                    [&](std::string_view line, int n) { return n < 2 || f(std::string(line)); });
}

// The type of a section: its Type joined with its SubType as mkgmap compiles
// them. A Type that is no "0x" number keeps the old reading: the code after
// "type=0x" to the end of its line, lower case, a two-digit type xy stored as
// 0xy00, and without "type=" the piece's 7th character on.
std::string type_code(std::string_view piece) {
  if (auto type = typ_value(piece, "type")) {
    std::optional<int> sub;
    if (auto sub_text = typ_value(piece, "subtype"))
      if (auto n = typ_number(*sub_text); n && *n <= 0xff) sub = static_cast<int>(*n);
    if (auto key = typ_key(*type, sub)) return *key;
  }
  int start = text::find(text::lower(piece), "type=") + 7;
  std::string code = text::mid(piece, start);
  code = text::before(code, "\n");
  if (!code.empty() && code.back() == '\r') code.pop_back();
  code = text::lower(code);
  if (code.size() == 2) code = "0" + code + "00";
  return code;
}

// The files write RRGGBB; the tables keep BBGGRR.
std::string bbggrr(const std::string& rrggbb) {
  return text::right(rrggbb, 2) + text::mid(rrggbb, 3, 2) + text::left(rrggbb, 2);
}

// The colour of a colour line: the text after its first "#", or white when
// it names none (a transparent "none"), without quotes.
std::string colour_text(const std::string& line, const std::string& quote) {
  std::string c = text::contains(line, "#") ? text::after(line, "#") : "FFFFFF";
  return text::remove_all(c, quote);
}

// A message box lets window events run, and they may read the file again, so
// every entry is reached through a bounded access.
std::string& entry(std::vector<std::string>& column, std::size_t k) {
  return bounded(column, static_cast<long long>(k), "TYP table");
}

void renew(TypTable& t, int count) {
  auto n = static_cast<std::size_t>(std::max(count + 1, 0));
  t.count = count;
  t.type.assign(n, "");
  t.colours.assign(n, "");
  t.pixels.assign(n, "");
  t.cpp.assign(n, 0);
}

// A pattern of rows of 32 cells; a width beyond what a swatch shows is cut.
std::string rows_of(int rows, char c) {
  std::string out;
  for (int i = 0; i < std::min(rows, typ_limits::line_width); ++i) out += std::string(32, c) + crlf;
  return out;
}

// Appends an entry to a CR LF list unless the list holds `limit` already:
// what a swatch cannot show is not kept.
void append_limited(std::string& list, std::size_t& entries, std::size_t limit,
                    std::string_view item) {
  if (entries >= limit) return;
  ++entries;
  list.append(item.substr(0, typ_limits::row_chars)).append(crlf);
}

// A width key's value: the whole number after its first "=".
int width_value(const std::string& line) {
  return num::to_int16(num::val(text::after(line, "=")));
}

// Lines and polygons share everything but the width keys and the pattern
// made when a section has no bitmap.
void load_lines_or_polygons(AppState& s, Host& host, const std::string& all, bool lines) {
  auto pieces = kind_pieces(typ_sections(all), lines ? 1 : 0);
  int count = piece_count(all, pieces);
  auto& t = lines ? s.typ.lines : s.typ.polygons;
  renew(t, count);
  host.set_busy(true);
  const std::string& q = s.quote_char;
  const std::size_t max_rows = lines ? typ_limits::line_rows : typ_limits::square_rows;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    std::string piece = text::lower(pieces[k]);
    entry(t.type, k) = type_code(piece);
    int border = -1, width = -1;
    std::size_t colours = 0, rows = 0;
    for_each_line_from_third(piece, [&](const std::string& line) {
      attempt(host, [&] {
        if (typ_colour_line(line)) {
          append_limited(entry(t.colours, k), colours, typ_limits::colours,
                         bbggrr(colour_text(line, q)));
        } else if (lines && text::contains(line, "borderwidth")) {
          border = width_value(line);
        } else if (lines && text::contains(line, "linewidth")) {
          width = width_value(line);
        } else if (!q.empty() && text::starts_with(line, q)) {
          append_limited(entry(t.pixels, k), rows, max_rows, text::remove_all(line, q));
        }
      });
      return true;
    });
    if (entry(t.pixels, k).empty()) {
      if (lines)
        entry(t.pixels, k) = rows_of(border, '1') + rows_of(width, '0') + rows_of(border, '1');
      else
        entry(t.pixels, k) = rows_of(32, '0');
    }
  }
  host.set_busy(false);
}

}  // namespace

void loadpolygons(AppState& s, Host& host, const std::string& all) {
  load_lines_or_polygons(s, host, all, false);
}

void loadpoints(AppState& s, Host& host, const std::string& all) {
  auto pieces = kind_pieces(typ_sections(all), 2);
  int count = piece_count(all, pieces);
  auto& t = s.typ.points;
  renew(t, count);
  host.set_busy(true);
  const std::string& q = s.quote_char;
  bool stop = false;
  for (std::size_t k = 0; k < pieces.size() && !stop; ++k) {
    std::string_view raw = pieces[k];
    entry(t.type, k) = type_code(raw);
    // Night bitmaps and their colours are not shown.
    int night = text::find(text::lower(raw), "nightxpm");
    std::string_view piece = night > 0 ? raw.substr(0, static_cast<std::size_t>(night - 1)) : raw;
    // Direct colours are told by a colour written straight into a quoted row,
    // and only a header line spelt "xpm=" makes the entry one.
    bool colours_in_rows = text::contains(piece, q + "#");
    bool direct = false;
    std::size_t colours = 0, rows = 0;
    for_each_line_from_third(piece, [&](const std::string& line) {
      attempt(host, [&] {
        if (text::contains(line, "xpm=")) {
          if (!colours_in_rows) return;
          int at = text::find(line, "=" + q);
          if (at == 0) {
            host.message("Zero error");
            stop = true;
            return;
          }
          direct = true;
          colours = 1;
          entry(t.colours, k) =
              'W' + text::mid(line, at + 2, static_cast<int>(typ_limits::header_chars)) + crlf;
        } else if (typ_colour_line(line)) {
          std::string c = colour_text(line, q);
          if (text::contains(c, "=15")) c = "FFFFFF";
          append_limited(entry(t.colours, k), colours, typ_limits::colours,
                         bbggrr(text::before(c, " ")));
        } else if (!q.empty() && text::starts_with(line, q)) {
          std::string row = text::remove_all(line, q);
          if (direct) row = bbggrr(text::before(text::remove_all(row, "#"), " "));
          append_limited(entry(t.pixels, k), rows,
                         direct ? typ_limits::direct_rows : typ_limits::square_rows, row);
        }
      });
      return !stop;
    });
    if (stop) break;
    if (entry(t.pixels, k).empty()) entry(t.pixels, k) = rows_of(32, '0');
  }
  host.set_busy(false);
}

bool loadtyp(AppState& s, Host& host, const std::string& path) {
  s.f1.label2.caption = " TYP: " + path;
  std::string all;
  bool found = false;
  attempt(host, [&] {
    found = host.fs().file_exists(path);
    if (!found) host.message("Cannot find file " + path);
    all = loadtext(host, path);
  });
  attempt(host, [&] { loadpolygons(s, host, all); });
  attempt(host, [&] { loadpoints(s, host, all); });
  s.typ_file = path;
  attempt(host, [&] { load_lines_or_polygons(s, host, all, true); });
  bool sections = false;
  for (const auto& section : typ_sections(all))
    sections = sections || text::starts_with(section.header, "[_");
  if (found && !sections) host.message(no_typ_section_message(path));
  s.f1.mtls[check_typ_item].enabled = sections;
  return sections;
}

std::string no_typ_section_message(const std::string& path) {
  return "No TYP section ([_id], [_line], [_polygon], [_point] ...) in " + path;
}

}  // namespace zw
