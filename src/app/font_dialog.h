#pragma once
#include "model/state.h"
#include "platform/host.h"

namespace zw {

inline constexpr int smallest_font_size = 6;
inline constexpr int largest_font_size = 16;
inline constexpr int fallback_font_size = 10;
inline const char* const fallback_font_name = "Arial";

}  // namespace zw

// The font dialog fontt (state s.fontt): the chart's font name and size. Its
// window calls these from its events and closes when s.fontt.closing is set.
// Closing it by its frame applies nothing.
namespace zw::font_form {

// Opening: fills the font and size lists and shows the current font, putting a
// size outside 6..16 back to 10 and an empty name to "Arial".
void Form_Load(AppState& s, Host& host);
// A name or a size chosen in the lists: the preview follows.
void Combo1_Click(AppState& s);
void Combo2_Click(AppState& s);
// "Close": takes the name and the size typed or chosen, keeping the previous
// size when the new one is not a number or lies outside 6..16.
void Command1_Click(AppState& s);

}  // namespace zw::font_form
