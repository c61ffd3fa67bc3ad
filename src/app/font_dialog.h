#pragma once
#include "app/state.h"
#include "platform/host.h"

// The font dialog fontt: the chart's font name and size. The binding calls these
// for the dialog's events and closes the dialog when fontt.closing is set.
// Closing it by its frame applies nothing.
namespace zw {

inline constexpr int smallest_font_size = 6;
inline constexpr int largest_font_size = 16;
inline constexpr int fallback_font_size = 10;
inline const char* const fallback_font_name = "Arial";

// Opening: fills the font and size lists and shows the current font, putting a
// size outside 6..16 back to 10 and an empty name to "Arial".
void fontt_Load(AppState& s, Host& host);
// A name or a size chosen in the lists: the preview follows.
void fontt_Combo1_Click(AppState& s);
void fontt_Combo2_Click(AppState& s);
// "Close": takes the name and the size typed or chosen, keeping the previous
// size when the new one is not a number or lies outside 6..16.
void fontt_Command1_Click(AppState& s);

}  // namespace zw
