#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

// The logic of the "Convert to Levels" dialog (state s.convert). Its window
// calls these from its events; the name it ends with is s.new_style_name
// ("" when no conversion is wanted).
namespace zw {

// The whole conversion as the Tools menu runs it: convert_style, then the
// style list is rebuilt (the source stays selected) and the analysis runs again.
void change_res_to_lev(AppState& s, Host& host);

}  // namespace zw

namespace zw::convert_form {

// The dialog opens: its design texts ("untitled" in Text1), the source style's
// name in Label3, both buttons painted in their normal look.
void Form_Load(AppState& s, Host& host);

// A key typed into Text1: a space, ".", "," or ";" is dropped (key becomes 0).
void Text1_KeyPress(int& key);
// The text that typing these keys into Text1 leaves.
std::string typed(const std::string& keys);

// Button 0 "Close", button 1 "OK" (which asks "New style : NAME "). Returns
// true when the dialog closes, as s.convert.closing then says too.
bool command1_Click(AppState& s, Host& host, int index);

// The mouse over a button paints it in its hover look; over the dialog's
// background it paints both in their normal look again.
void command1_MouseMove(AppState& s, Host& host, int index);
void Form_MouseMove(AppState& s, Host& host);

// The dialog closed by its frame: no conversion, even when a name was recorded
// by an "OK" answered No.
void Form_Unload(AppState& s);

}  // namespace zw::convert_form
