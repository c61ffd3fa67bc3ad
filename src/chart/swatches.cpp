#include "chart/swatches.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/failure.h"
#include "base/numbers.h"
#include "base/text.h"
#include "typ/typ_sections.h"

namespace zw {
namespace {

constexpr const char* crlf = "\r\n";

// A swatch is 32 cells across, and polygons and points 32 rows down.
constexpr long long columns = 32;
constexpr std::size_t square_rows = 32;

// The first `limit` pieces of a CR LF list, found without reading the rest of
// it; the empty piece after the last CR LF is not an entry.
std::vector<std::string> entries_of(std::string_view list, std::size_t limit = std::string::npos) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (pieces.size() < limit && start < list.size()) {
    auto end = list.find(crlf, start);
    if (end == std::string_view::npos) end = list.size();
    pieces.emplace_back(list.substr(start, end - start));
    start = end + 2;
  }
  return pieces;
}

// A BBGGRR entry as a colour; nothing when it is not six hexadecimal digits.
std::optional<Colour> bbggrr_colour(const std::string& entry) {
  if (entry.size() != 6) return std::nullopt;
  int v[6];
  for (int i = 0; i < 6; ++i)
    if ((v[i] = num::hex_digit(entry[static_cast<std::size_t>(i)])) < 0) return std::nullopt;
  return rgb(v[4] * 16 + v[5], v[2] * 16 + v[3], v[0] * 16 + v[1]);
}

// Draws cells in one colour list. A cell without a valid colour takes the
// colour of the cell drawn before it, so a gap in the file's palette does not
// punch a hole into the swatch.
class Painter {
 public:
  Painter(Surface& d, std::vector<std::string> colours, double cw, double ch)
      : d_(d), colours_(std::move(colours)), cw_(cw), ch_(ch) {
    // Read once: a swatch looks up its few colours a thousand times.
    for (const auto& entry : colours_) palette_.push_back(bbggrr_colour(entry));
  }

  void cell_by_index(long long x, long long y, std::optional<long long> index) {
    if (index && *index >= 0 && *index < static_cast<long long>(palette_.size()))
      cell(x, y, palette_[static_cast<std::size_t>(*index)]);
    else
      cell(x, y, std::nullopt);
  }

  void cell(long long x, long long y, std::optional<Colour> c) {
    if (c) last_ = *c;
    double left = static_cast<double>(x) * cw_, top = static_cast<double>(y) * ch_;
    d_.fill_rect(left, top, left + cw_, top + ch_, last_);
  }

  const std::vector<std::string>& colours() const { return colours_; }

 private:
  Surface& d_;
  std::vector<std::string> colours_;
  std::vector<std::optional<Colour>> palette_;  // colours_ read as colours
  double cw_, ch_;
  Colour last_ = colours::black;
};

// The entry of the table whose type code equals the key exactly: the first one.
std::optional<std::size_t> find_entry(const TypTable& t, const std::string& key) {
  auto n = std::min<long long>(t.count, static_cast<long long>(t.type.size()));
  for (long long k = 0; k < n; ++k)
    if (t.type[static_cast<std::size_t>(k)] == key) return static_cast<std::size_t>(k);
  return std::nullopt;
}

std::string row_key(const AppState& s, int i) {
  const auto& types = bounded(s.results.rule_type, s.selected_kind, "rule_type");
  return type_key(bounded(types, i, "rule_type"));
}

// Lists a key that the TYP file lacks, once.
void list_missing(AppState& s, const std::string& key) {
  auto& box = s.f1.Text3.text;
  for (const auto& line : text::split(box, crlf))
    if (line == key) return;
  box += key + crlf;
}

// An entry's colour list and the pixel rows a swatch can show, copied: the
// window events let run between line rows may read the TYP file again.
struct Entry {
  std::size_t k;
  std::vector<std::string> colours, rows;
};

// The entry of the key, with its first `rows` pixel rows; a key the table
// lacks is listed as missing.
std::optional<Entry> take_entry(AppState& s, const TypTable& t, const std::string& key,
                                std::size_t rows) {
  auto k = find_entry(t, key);
  if (!k) {
    list_missing(s, key);
    return std::nullopt;
  }
  auto at = static_cast<long long>(*k);
  return Entry{*k, entries_of(bounded(t.colours, at, "typ colours")),
               entries_of(bounded(t.pixels, at, "typ pixels"), rows)};
}

// Sizes p4, switches it to pixels and clears it; the usable width in pixels.
Surface& start_picture(AppState& s, int width, int height) {
  auto& p4 = s.f1.p4;
  p4.set_size(width, height);
  Surface& d = p4.draw();
  d.set_pixel_scale(true);
  d.clear(p4.back);
  return d;
}

// The colour index of a line or polygon pixel: a digit gives its value, any
// other (or a missing) character 0.
long long digit_index(const std::string& row, std::size_t x) {
  if (x >= row.size()) return 0;
  char c = row[x];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

// Lines and polygons: 32 digit cells per row.
bool plot_digits(AppState& s, Host& host, int i, bool lines) {
  bool missing = true;
  attempt_quietly([&] {
    s.f1.p4.visible = false;
    std::string key = row_key(s, i);
    const TypTable& t = lines ? s.typ.lines : s.typ.polygons;
    // Every row of a line is drawn, each the thinner the more rows there are;
    // polygon rows below the picture are not.
    auto entry = take_entry(s, t, key, lines ? typ_limits::line_rows : square_rows);
    if (!entry) return;
    missing = false;
    auto& rows = entry->rows;
    auto& colours = entry->colours;
    Surface& d = lines ? start_picture(s, 1000, 500) : start_picture(s, 1000, 1000);
    double w = d.scale_width();
    double cw = w / 32;
    double ch = lines ? w / static_cast<double>(rows.size() + 1) / 2 : cw;
    Painter paint(d, std::move(colours), cw, ch);
    for (std::size_t y = 0; y < rows.size(); ++y) {
      for (std::size_t x = 0; x < columns; ++x)
        paint.cell_by_index(static_cast<long long>(x), static_cast<long long>(y),
                            digit_index(rows[y], x));
      if (lines) host.do_events();
    }
  });
  return missing;
}

// The colour index of an ordinary point pixel: one character from "$" on, or
// two characters for palettes of 32 colours and more.
std::optional<long long> point_index(const std::string& pixel, int cpp) {
  if (static_cast<int>(pixel.size()) < cpp) return std::nullopt;
  auto code = [&](std::size_t n) {
    return static_cast<long long>(static_cast<unsigned char>(pixel[n])) - 36;
  };
  return cpp == 1 ? code(0) : code(0) * 16 + code(1);
}

// The first row gives the width; cells right of the picture are not drawn.
void plot_ordinary_point(Painter& paint, const std::vector<std::string>& rows, int cpp) {
  std::size_t width = rows.empty() ? 0 : rows[0].size();
  for (std::size_t y = 0; y < rows.size(); ++y) {
    long long x = 0;
    for (std::size_t c = 0; c < width && x < columns; c += static_cast<std::size_t>(cpp), ++x)
      paint.cell_by_index(x, static_cast<long long>(y),
                          point_index(text::mid(rows[y], static_cast<int>(c) + 1, cpp), cpp));
  }
}

// A direct-colour point: every pixel row is one colour, w of them per picture
// row. Cells beyond the picture are not drawn, so a bogus header size cannot
// hold the chart up.
struct IconSize {
  long long w = 0, h = 0;
};

// The width and height that a direct-colour entry's header gives.
IconSize direct_size(const std::string& header) {
  std::vector<std::string> size;
  for (const auto& word : text::split(text::mid(header, 2), " "))
    if (!word.empty()) size.push_back(word);
  auto dimension = [&](std::size_t n) -> long long {
    double v = n < size.size() ? num::val(size[n]) : 0;
    return v > 0 ? std::llround(std::min(v, 1e9)) : 0;
  };
  return {dimension(0), dimension(1)};
}

// The pixel rows that hold the visible cells of a direct-colour entry.
std::size_t direct_rows_shown(IconSize size) {
  long long shown = std::min<long long>(size.h, columns) * size.w;
  return static_cast<std::size_t>(std::clamp<long long>(shown, 0, typ_limits::direct_rows));
}

void plot_direct_point(Painter& paint, const std::vector<std::string>& rows, IconSize size) {
  long long w = size.w, h = size.h;
  for (long long y = 0; y < std::min(h, columns); ++y)
    for (long long x = 0; x < std::min(w, columns); ++x) {
      long long k = y * w + x;
      paint.cell(x, y,
                 k < static_cast<long long>(rows.size())
                     ? bbggrr_colour(rows[static_cast<std::size_t>(k)])
                     : std::nullopt);
    }
}

}  // namespace

std::string type_key(std::string_view rule_type) {
  // The number as mkgmap reads it, so that 0x010200 finds the TYP file's 0x10200.
  if (auto key = typ_key("0x" + std::string(rule_type))) return *key;
  std::string t = text::lower(rule_type);
  if (t.size() >= 5) return t;
  if (t.size() == 2) return "0" + t + "00";
  return std::string(5 - t.size(), '0') + t;
}

bool plotline(AppState& s, Host& host, int i) {
  return plot_digits(s, host, i, true);
}

bool plotpolygon(AppState& s, Host& host, int i) {
  return plot_digits(s, host, i, false);
}

bool plotpoint(AppState& s, Host& host, int i) {
  bool missing = true;
  attempt_quietly([&] {
    s.f1.p4.visible = false;
    std::string key = row_key(s, i);
    TypTable& t = s.typ.points;
    auto n = std::min<long long>(t.count, static_cast<long long>(t.type.size()));
    for (long long k = 0; k < n; ++k) {
      auto& code = t.type[static_cast<std::size_t>(k)];
      if (code.size() < 5) code = std::string(5 - code.size(), '0') + code;
    }
    auto entry = take_entry(s, t, key, 0);
    if (!entry) return;
    missing = false;
    auto& colours = entry->colours;
    bool direct = !colours.empty() && text::starts_with(colours[0], "W");
    IconSize size = direct ? direct_size(colours[0]) : IconSize{};
    auto rows = entries_of(bounded(t.pixels, static_cast<long long>(entry->k), "typ pixels"),
                           direct ? direct_rows_shown(size) : square_rows);
    int cpp = colours.size() >= 32 ? 2 : 1;
    if (!direct)
      bounded(t.cpp, static_cast<long long>(entry->k), "typ cpp") = static_cast<std::uint8_t>(cpp);
    Surface& d = start_picture(s, 1000, 1000);
    double cw = d.scale_width() / 32;
    Painter paint(d, std::move(colours), cw, cw);
    if (direct)
      plot_direct_point(paint, rows, size);
    else
      plot_ordinary_point(paint, rows, cpp);
  });
  return missing;
}

}  // namespace zw
