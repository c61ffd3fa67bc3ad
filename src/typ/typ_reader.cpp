#include "typ/typ_reader.h"

#include <algorithm>

#include "app/failure.h"
#include "app/shell.h"
#include "app/numbers.h"
#include "app/text.h"

namespace zw {
namespace {

constexpr const char* crlf = "\r\n";

// The pieces after each occurrence of the section word; the text before the
// first one is not a section. The count is one less than the pieces of the
// split, so an empty file gives -1 and a file without the word 0.
struct Sections {
  int count = -1;
  std::vector<std::string> pieces;
};

Sections sections(const std::string& all, const std::string& word) {
  Sections out;
  out.pieces = text::split(all, word);
  out.count = static_cast<int>(out.pieces.size()) - 1;
  if (!out.pieces.empty()) out.pieces.erase(out.pieces.begin());
  return out;
}

// The lines of a piece. TYP text files come with CR LF or with bare LF line
// ends; both give the same lines.
std::vector<std::string> lines_of(const std::string& piece) {
  auto lines = text::split(piece, "\n");
  for (auto& l : lines)
    if (!l.empty() && l.back() == '\r') l.pop_back();
  return lines;
}

// The code after "type=0x" to the end of its line, lower case, with a
// two-digit type xy stored as 0xy00. Without "type=" the same position rule
// takes the piece's 7th character on.
std::string type_code(const std::string& piece) {
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

std::string rows_of(int rows, char c) {
  std::string out;
  for (int i = 0; i < rows; ++i) out += std::string(32, c) + crlf;
  return out;
}

// A width key's value: the whole number after its first "=".
int width_value(const std::string& line) {
  return num::to_int16(num::val(text::after(line, "=")));
}

// Lines and polygons share everything but the width keys and the pattern
// made when a section has no bitmap.
void load_lines_or_polygons(AppState& s, Host& host, const std::string& all, bool lines) {
  auto [count, pieces] = sections(all, lines ? "_line" : "_polygon");
  auto& t = lines ? s.typ.lines : s.typ.polygons;
  renew(t, count);
  host.set_busy(true);
  const std::string& q = s.quote_char;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    std::string piece = text::lower(pieces[k]);
    entry(t.type, k) = type_code(piece);
    int border = -1, width = -1;
    auto ls = lines_of(piece);
    for (std::size_t i = 2; i < ls.size(); ++i) {
      const auto& line = ls[i];
      attempt(host, [&] {
        if (text::contains(line, " c ")) {
          entry(t.colours, k) += bbggrr(colour_text(line, q)) + crlf;
        } else if (lines && text::contains(line, "borderwidth")) {
          border = width_value(line);
        } else if (lines && text::contains(line, "linewidth")) {
          width = width_value(line);
        } else if (!q.empty() && text::starts_with(line, q)) {
          entry(t.pixels, k) += text::remove_all(line, q) + crlf;
        }
      });
    }
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
  auto [count, pieces] = sections(all, "_point");
  auto& t = s.typ.points;
  renew(t, count);
  host.set_busy(true);
  const std::string& q = s.quote_char;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    std::string piece = pieces[k];
    entry(t.type, k) = type_code(piece);
    // Night bitmaps and their colours are not shown.
    int night = text::find(text::lower(piece), "nightxpm");
    if (night > 0) piece = text::left(piece, night - 1);
    // Direct colours are told by a colour written straight into a quoted row,
    // and only a header line spelt "xpm=" makes the entry one.
    bool colours_in_rows = text::contains(piece, q + "#");
    bool direct = false;
    auto ls = lines_of(piece);
    bool stop = false;
    for (std::size_t i = 2; i < ls.size() && !stop; ++i) {
      const auto& line = ls[i];
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
          entry(t.colours, k) = "W" + text::mid(line, at + 2) + crlf;
        } else if (text::contains(line, " c ")) {
          std::string c = colour_text(line, q);
          if (text::contains(c, "=15")) c = "FFFFFF";
          entry(t.colours, k) += bbggrr(text::before(c, " ")) + crlf;
        } else if (!q.empty() && text::starts_with(line, q)) {
          std::string row = text::remove_all(line, q);
          if (direct) row = bbggrr(text::before(text::remove_all(row, "#"), " "));
          entry(t.pixels, k) += row + crlf;
        }
      });
    }
    if (stop) break;
    if (entry(t.pixels, k).empty()) entry(t.pixels, k) = rows_of(32, '0');
  }
  host.set_busy(false);
}

void loadtyp(AppState& s, Host& host, const std::string& path) {
  s.f1.label2.caption = " TYP: " + path;
  std::string all;
  attempt(host, [&] {
    if (!host.fs().file_exists(path)) host.message("Cannot find file " + path);
    all = loadtext(host, path);
  });
  attempt(host, [&] { loadpolygons(s, host, all); });
  attempt(host, [&] { loadpoints(s, host, all); });
  s.typ_file = path;
  attempt(host, [&] { load_lines_or_polygons(s, host, all, true); });
}

}  // namespace zw
