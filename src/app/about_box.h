#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The text after the version line.
extern const char* const notice_text;

}  // namespace zw

// The About box Infor (state s.Infor). Its window calls these from its events
// and closes when s.Infor.closing is set.
namespace zw::about_form {

// Activation: the program's name, the version line, the link.
void Form_Activate(AppState& s);
// The link: opens the program's home page (the help page beside the program);
// when no browser can be started, a message says where the page is.
void Label2_Click(AppState& s, Host& host);
// "OK".
void Command1_Click(AppState& s);

}  // namespace zw::about_form
