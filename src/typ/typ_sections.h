#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// A TYP text file cut into sections the way mkgmap's compiler reads it: a
// section starts at a line whose first non-blank character is "[" and ends at
// its "[end]" line or at the next such line; a line whose first non-blank
// character is ";" is a comment and belongs to no section.
struct TypSection {
  std::string_view header;  // the header line without its surrounding blanks
  // 0 polygon, 1 line, 2 point: the header holds "_polygon", "_line" or
  // "_point" as written; -1 for any other section ([_id], [_drawOrder] ...).
  int kind = -1;
  // Kinds: from just after the section word to the section's end, so that the
  // header's rest is the first line. Other sections: the lines after the header.
  std::string_view piece;
  int line = 0;  // the header's line number, from 1
};

std::vector<TypSection> typ_sections(std::string_view all);

// The section word of a kind: "_polygon", "_line", "_point".
std::string_view section_word(int kind);

bool typ_comment(std::string_view line);

// Calls f(line, number) for every line of a piece that is not a comment, with
// its CR removed; number counts the piece's lines from 0, comments included.
template <class F>
void for_each_typ_line(std::string_view piece, F&& f) {
  std::size_t start = 0;
  for (int n = 0; start < piece.size(); ++n) {
    auto end = piece.find('\n', start);
    auto line =
        piece.substr(start, end == std::string_view::npos ? piece.size() - start : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!typ_comment(line) && !f(line, n)) return;
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

// The key of a TYP type as the style writes it, five lower-case hexadecimal
// digits (three for the type, two for the sub-type): "0x2f" is 02f00, "0x2f06"
// 02f06, "0x10f04" 10f04, and a separate sub-type joins a type below 0x100 as
// mkgmap compiles it. Nothing when the text is no hexadecimal "0x" number.
std::optional<std::string> typ_key(std::string_view type_text, std::optional<int> sub_type = {});

// A number written "0x" hexadecimal or decimal, up to its first other
// character; nothing when it starts with no digit or exceeds 0xfffff.
std::optional<long> typ_number(std::string_view text);

// The value of a "key=" line of a piece (key in lower case, compared ignoring
// case at the line's start), without the blanks around it; nothing when the
// piece has no such line.
std::optional<std::string> typ_value(std::string_view piece, std::string_view key);

// Whether a line pairs a pixel character with a colour: "c" between blanks or TABs.
bool typ_colour_line(std::string_view line);

}  // namespace zw
