#include "app/convert_dialog.h"

#include "base/failure.h"
#include "app/main_window.h"
#include "app/check_handlers.h"
#include "app/style_check.h"
#include "base/paths.h"
#include "convert/convert_style.h"

namespace zw::convert_form {
namespace {

constexpr const char* captions[2] = {"Close", "OK"};

bool button_closes(AppState& s, Host& host, int index) {
  if (index == 0) {
    s.new_style_name.clear();
    return true;
  }
  if (index != 1) return false;
  s.new_style_name = s.convert.Text1.text;
  auto answer = host.message("New style : " + s.new_style_name + " ", Buttons::yes_no_cancel);
  if (answer == Answer::yes) return true;
  if (answer == Answer::cancel) {
    s.new_style_name.clear();
    return true;
  }
  // No: the dialog stays open, and the typed name stays recorded.
  return false;
}

}  // namespace

void Form_Load(AppState& s, Host& host) {
  auto& d = s.convert;
  // The dialog is unloaded when it closes, so every opening starts afresh.
  d.caption = "Convert to Levels";
  d.closing = false;
  d.label1.caption = "New Style:";
  d.Label2.caption = "Source:";
  d.Label3.caption = s.style_name;
  d.Text1.text = "untitled";
  for (int i = 0; i < 2; ++i)
    attempt_quietly(
        [&] { paint_button(s, host, bounded(d.command1, i, "command1"), captions[i], 0); });
}

void Text1_KeyPress(int& key) {
  if (key == ' ' || key == '.' || key == ',' || key == ';') key = 0;
}

std::string typed(const std::string& keys) {
  std::string out;
  for (char c : keys) {
    int key = static_cast<unsigned char>(c);
    Text1_KeyPress(key);
    if (key != 0) out += c;
  }
  return out;
}

bool command1_Click(AppState& s, Host& host, int index) {
  s.convert.closing = button_closes(s, host, index);
  return s.convert.closing;
}

void command1_MouseMove(AppState& s, Host& host, int index) {
  attempt_quietly(
      [&] { paint_button(s, host, bounded(s.convert.command1, index, "command1"), "", 1); });
}

void Form_MouseMove(AppState& s, Host& host) {
  if (!s.hover_active) return;
  for (int i = 0; i < 2; ++i)
    attempt_quietly(
        [&] { paint_button(s, host, bounded(s.convert.command1, i, "command1"), "", 0); });
}

void Form_Unload(AppState& s) {
  s.new_style_name.clear();
}

}  // namespace zw::convert_form

namespace zw {

void change_res_to_lev(AppState& s, Host& host) {
  // What the conversion says goes into one summary; its questions are asked.
  NoteKeepingHost noting(host);
  auto source = paths::collapse(s.style_root + paths::sep_text + s.style_name);
  auto converted = convert_style(s, noting);
  host.unread_files += noting.unread_files;
  if (converted == Converted::refused) {
    for (const auto& note : noting.notes) host.message(note);
    return;
  }
  auto name = s.new_style_name;
  auto target = paths::join(s.style_root, name);
  std::string summary = "The new style " + target + ":";
  for (const auto& note : noting.notes) summary += "\r\n" + note;
  // An incomplete copy is not compared: its missing files would read as rules
  // that went away.
  if (converted == Converted::whole)
    summary += "\r\n\r\n" + conversion_check(s, host, source, target);
  host.message(summary);
  // The new style is selected and charted as the source was.
  attempt(host, [&] {
    auto dirs = host.fs().list_dirs(s.style_root);
    auto& list = s.f1.Combo2;
    list.items.clear();
    for (const auto& d : dirs) list.items.push_back(paths::part(d, 1));
    list.text = name;
  });
  Combo2_Click(s, host);
}

}  // namespace zw
