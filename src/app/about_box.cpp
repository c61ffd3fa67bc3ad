#include "app/about_box.h"

#include "app/menus.h"
#include "base/open_document.h"

namespace zw {

const char* const notice_text =
    "\n\nFree for everyone who builds maps with mkgmap."
    "\nProvided as it is, without any warranty.";

namespace about_form {

void Form_Activate(AppState& s) {
  auto& d = s.Infor;
  d.closing = false;
  d.Label9.caption = "Zoomwright";
  d.Label3.caption = "Which rules of an mkgmap style show at which zoom";
  d.label1.caption = "Version " + s.app_version + notice_text;
  d.Label2.caption = "Home page and help";
}

void Label2_Click(AppState& s, Host& host) {
  open_document(host, help_page(s), false, "the home page");
}

void Command1_Click(AppState& s) {
  s.Infor.closing = true;
}

}  // namespace about_form
}  // namespace zw
