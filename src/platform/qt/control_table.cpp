#include "platform/qt/control_table.h"

#include "analysis/analysis.h"
#include "app/about_box.h"
#include "app/data_trace.h"
#include "app/font_dialog.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/typ_check_run.h"
#include "chart/chart.h"
#include "convert/convert_dialog.h"
#include "levels/categories.h"

// Each row names only the handlers its control has; the others stay empty.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif

namespace zw::qt {
namespace {

std::string indexed(const char* name, std::size_t i) {
  return std::string(name) + "(" + std::to_string(i) + ")";
}

// A flat button's hover look, for the button the mouse is over.
Action hover(PictureBox MainWindow::*button) {
  return [button](AppState& s, Host& h) { button_MouseMove(s, h, s.f1.*button); };
}

}  // namespace

std::vector<Control> main_window_controls(AppState& s) {
  auto& f = s.f1;
  std::vector<Control> t = {
      {.name = "f1", .widget = Widget::form, .model = &f.caption, .move = Form_MouseMove,
       .key_press = [](AppState& s, Host& h, int& key) { Form_KeyPress(s, h, key); },
       .keys = {18}},
      {.name = "com1", .widget = Widget::flat_button, .model = &f.com1, .act = com1_Click,
       .move = hover(&MainWindow::com1)},
      {.name = "command2", .widget = Widget::flat_button, .model = &f.command2,
       .act = command2_Click, .move = hover(&MainWindow::command2)},
      {.name = "Combo2", .widget = Widget::combo, .model = &f.Combo2, .act = Combo2_Click},
      {.name = "Combo1", .widget = Widget::combo, .model = &f.Combo1},  // shows the chart font
  };
  for (std::size_t i = 0; i < f.Check3.size(); ++i)
    t.push_back({.name = indexed("Check3", i), .widget = Widget::check, .model = &f.Check3[i],
                 .act = [i](AppState& s, Host& h) { Check3_MouseUp(s, h, static_cast<int>(i)); }});
  for (std::size_t i = 0; i < f.Check1.size(); ++i)
    t.push_back({.name = indexed("Check1", i), .widget = Widget::check, .model = &f.Check1[i],
                 .act = [i](AppState& s, Host& h) { Check1_MouseUp(s, h, static_cast<int>(i)); }});
  t.insert(t.end(), {
      {.name = "Check2", .widget = Widget::check, .model = &f.Check2, .act = Check2_MouseUp},
      {.name = "Check4", .widget = Widget::check, .model = &f.Check4, .act = Check4_MouseUp},
      {.name = "inc", .widget = Widget::check, .model = &f.inc, .act = option_toggled},
      {.name = "ovw", .widget = Widget::check, .model = &f.ovw, .act = option_toggled},
      {.name = "shtxt", .widget = Widget::check, .model = &f.shtxt, .act = option_toggled},
      {.name = "label2", .widget = Widget::check, .model = &f.label2, .act = option_toggled},
      {.name = "Text2", .widget = Widget::line_edit, .model = &f.Text2,
       .key_press = [](AppState& s, Host& h, int& key) { Text2_KeyPress(s, h, key); }},
      {.name = "Text3", .widget = Widget::text_box, .model = &f.Text3},
      {.name = "Label4", .widget = Widget::label, .model = &f.Label4,
       .double_click = Label4_DblClick, .mouse_down = Label4_MouseDown},
      {.name = "Label5", .widget = Widget::label, .model = &f.Label5},
      {.name = "Label6", .widget = Widget::label, .model = &f.Label6},
      {.name = "label1", .widget = Widget::label, .model = &f.label1},
      {.name = "List1", .widget = Widget::list, .model = &f.List1},
      {.name = "p3", .widget = Widget::picture, .model = &f.p3},
  });
  for (std::size_t k = 0; k < f.Label3.size(); ++k)
    t.push_back({.name = indexed("Label3", k), .widget = Widget::label, .model = &f.Label3[k],
                 .parent = "p3",
                 .act = [k](AppState& s, Host& h) { Label3_Click(s, h, static_cast<int>(k)); }});
  t.insert(t.end(), {
      {.name = "p2", .widget = Widget::picture, .model = &f.p2},
      {.name = "p1", .widget = Widget::picture, .model = &f.p1, .parent = "p2", .double_click = chart_DblClick},
      {.name = "vs", .widget = Widget::scroll_bar, .model = &f.vs, .parent = "p2", .act = vs_Scroll},
      {.name = "p4", .widget = Widget::picture, .model = &f.p4},
      {.name = "tm1", .widget = Widget::timer, .model = &f.tm1, .act = tm1_Timer},
  });
  // The File menu keeps its fixed indices; the indices without an item are left out.
  for (std::size_t i = 0; i < f.mf.size(); ++i)
    if (!f.mf[i].caption.empty())
      t.push_back({.name = indexed("mf", i), .widget = Widget::menu_item, .model = &f.mf[i],
                   .parent = "File",
                   .act = [i](AppState& s, Host& h) { mf_Click(s, h, static_cast<int>(i)); }});
  t.push_back({.name = "mfnt", .widget = Widget::menu_item, .model = &f.mfnt, .parent = "Font",
               .act = mfnt_Click});
  for (std::size_t i = 0; i < f.mtls.size(); ++i)
    t.push_back({.name = indexed("mtls", i), .widget = Widget::menu_item, .model = &f.mtls[i],
                 .parent = "Tools",
                 .act = [i](AppState& s, Host& h) { mtls_Click(s, h, static_cast<int>(i)); }});
  t.push_back({.name = "mhl", .widget = Widget::menu_item, .model = &f.mhl, .parent = "Help",
               .act = mhl_Click});
  return t;
}

std::vector<Control> font_dialog_controls(AppState& s) {
  auto& d = s.fontt;
  return {
      {.name = "fontt", .widget = Widget::form, .model = &d.caption},
      {.name = "Combo1", .widget = Widget::editable_combo, .model = &d.Combo1,
       .act = [](AppState& s, Host&) { font_form::Combo1_Click(s); }},
      {.name = "Combo2", .widget = Widget::editable_combo, .model = &d.Combo2,
       .act = [](AppState& s, Host&) { font_form::Combo2_Click(s); }},
      {.name = "Label1", .widget = Widget::label, .model = &d.Label1},
      {.name = "Command1", .widget = Widget::button, .model = &d.Command1,
       .act = [](AppState& s, Host&) { font_form::Command1_Click(s); }},
  };
}

std::vector<Control> about_box_controls(AppState& s) {
  auto& d = s.Infor;
  return {
      {.name = "Infor", .widget = Widget::form, .model = &d.caption},
      {.name = "Label9", .widget = Widget::label, .model = &d.Label9},
      {.name = "Label3", .widget = Widget::label, .model = &d.Label3},
      {.name = "label1", .widget = Widget::label, .model = &d.label1},
      {.name = "Label2", .widget = Widget::label, .model = &d.Label2,
       .act = about_form::Label2_Click},
      {.name = "Command1", .widget = Widget::button, .model = &d.Command1,
       .act = [](AppState& s, Host&) { about_form::Command1_Click(s); }},
  };
}

std::vector<Control> typ_check_dialog_controls(AppState& s) {
  auto& d = s.typcheck;
  return {
      {.name = "typcheck", .widget = Widget::form, .model = &d.caption},
      {.name = "Label1", .widget = Widget::label, .model = &d.Label1},
      {.name = "List1", .widget = Widget::list, .model = &d.List1,
       .double_click = [](AppState& s, Host& h) { typ_findings_DblClick(s, h, s.typcheck.List1.index); }},
      {.name = "Command1", .widget = Widget::button, .model = &d.Command1,
       .act = [](AppState& s, Host&) { typ_findings_Close(s); }},
  };
}

std::vector<Control> convert_dialog_controls(AppState& s) {
  auto& d = s.convert;
  std::vector<Control> t = {
      {.name = "convert", .widget = Widget::form, .model = &d.caption,
       .move = convert_form::Form_MouseMove},
      {.name = "label1", .widget = Widget::label, .model = &d.label1},
      {.name = "Text1", .widget = Widget::line_edit, .model = &d.Text1,
       .key_press = [](AppState&, Host&, int& key) { convert_form::Text1_KeyPress(key); }},
      {.name = "Label2", .widget = Widget::label, .model = &d.Label2},
      {.name = "Label3", .widget = Widget::label, .model = &d.Label3},
  };
  for (std::size_t i = 0; i < d.command1.size(); ++i) {
    int n = static_cast<int>(i);
    t.push_back({.name = indexed("command1", i), .widget = Widget::flat_button,
                 .model = &d.command1[i],
                 .act = [n](AppState& s, Host& h) { convert_form::command1_Click(s, h, n); },
                 .move = [n](AppState& s, Host& h) { convert_form::command1_MouseMove(s, h, n); }});
  }
  return t;
}

}  // namespace zw::qt
