#pragma once
#include <string>

#include "app/state.h"
#include "platform/host.h"

// The About box Infor. The binding calls these for its events and closes the box
// when Infor.closing is set.
namespace zw {

// The text after the version line.
extern const char* const notice_text;

// Opening (and every activation): the program's name, the version line, the link.
void Infor_Activate(AppState& s);
// The link: opens the program's home page (the help page beside the program);
// nothing happens when the shell cannot open it.
void Infor_Label2_Click(AppState& s, Host& host);
// "OK".
void Infor_Command1_Click(AppState& s);

}  // namespace zw
