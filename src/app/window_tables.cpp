#include "app/window_tables.h"

#include "app/check_handlers.h"
#include "app/data_trace.h"
#include "app/about_box.h"
#include "app/follow_files.h"
#include "app/font_dialog.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/typ_check_run.h"
#include "chart/chart.h"
#include "app/convert_dialog.h"
#include "levels/categories.h"

namespace zw {
namespace {

using K = ControlKind;
using E = UserEvent;

std::string indexed(const char* name, std::size_t i) {
  return std::string(name) + "(" + std::to_string(i) + ")";
}

// A handler that needs nothing of what came with the event.
Handler plain(std::function<void()> run) {
  return [run = std::move(run)](UserInput&) { run(); };
}

std::vector<EventHandler> on_click(std::function<void()> run) {
  return {{E::click, plain(std::move(run))}};
}

Handler counted(AppState& s, Handler run) {
  return [&s, run = std::move(run)](UserInput& in) {
    struct Running {
      int& count;
      ~Running() { --count; }
    } running{++s.handlers_running};
    run(in);
  };
}

}  // namespace

WindowTable main_window_table(AppState& s, Host& host) {
  auto& f = s.f1;
  // A flat button's hover look, for the button the mouse is over.
  auto flat = [&s, &host](const char* name, PictureBox& button, void (*click)(AppState&, Host&)) {
    return Control{
        name,
        K::flat_button,
        &button,
        "",
        {{E::click, plain([&s, &host, click] { click(s, host); })},
         {E::mouse_move, plain([&s, &host, &button] { button_MouseMove(s, host, button); })}}};
  };
  auto box = [&s, &host](const char* name, CheckBox& model, void (*handler)(AppState&, Host&)) {
    return Control{name, K::check_box, &model, "",
                   on_click([&s, &host, handler] { handler(s, host); })};
  };

  WindowTable t;
  auto& c = t.controls;
  c.push_back({"f1",
               K::form,
               &f.caption,
               "",
               {{E::mouse_move, plain([&s, &host] { Form_MouseMove(s, host); })},
                {E::key_press, [&s, &host](UserInput& in) { Form_KeyPress(s, host, in.key); }}},
               false,
               {},
               {key_ctrl_r}});
  // The controls a user acts on, in the order Tab visits them: row by row,
  // left to right, as they are read.
  c.push_back(flat("com1", f.com1, com1_Click));
  c.push_back(
      {"Combo2", K::combo_box, &f.Combo2, "", on_click([&s, &host] { Combo2_Click(s, host); })});
  for (std::size_t i = 0; i < f.Check3.size(); ++i)
    c.push_back({indexed("Check3", i), K::check_box, &f.Check3[i], "",
                 on_click([&s, &host, i] { Check3_MouseUp(s, host, static_cast<int>(i)); })});
  for (std::size_t i = 0; i < f.Check1.size(); ++i)
    c.push_back({indexed("Check1", i), K::check_box, &f.Check1[i], "",
                 on_click([&s, &host, i] { Check1_MouseUp(s, host, static_cast<int>(i)); })});
  c.push_back(box("Check2", f.Check2, Check2_MouseUp));
  c.push_back(box("Check4", f.Check4, Check4_MouseUp));
  c.push_back(box("inc", f.inc, option_toggled));
  c.push_back(box("ovw", f.ovw, option_toggled));
  c.push_back(box("shtxt", f.shtxt, option_toggled));
  c.push_back(flat("command2", f.command2, command2_Click));
  Control missing{"Text3", K::multi_line_text, &f.Text3};
  missing.font = [] { return FontChoice{fixed_font, fixed_font_points}; };
  c.push_back(std::move(missing));
  c.push_back({"Text2", K::text_box, &f.Text2, "", {{E::key_press, [&s, &host](UserInput& in) {
                                                       Text2_KeyPress(s, host, in.key);
                                                     }}}});
  // The font is chosen in the font dialog; this list only shows it.
  c.push_back({"Combo1", K::combo_box, &f.Combo1});
  c.push_back(box("label2", f.label2, option_toggled));
  c.push_back(
      {"Label4",
       K::label,
       &f.Label4,
       "",
       {{E::double_click, plain([&s, &host] { Label4_DblClick(s, host); })},
        {E::mouse_down, [&s, &host](UserInput& in) { Label4_MouseDown(s, host, in.button); }}}});
  c.push_back({"Label5", K::label, &f.Label5});
  c.push_back({"Label6", K::label, &f.Label6});
  c.push_back({"label1", K::label, &f.label1});
  c.push_back({"List1", K::list_box, &f.List1});
  // The chart: the scale strip p3 with the scale labels, the scrolling pane p2
  // holding the canvas p1 and the scroll bar, and the hidden scratch p4.
  c.push_back({"p3", K::picture, &f.p3});
  for (std::size_t k = 0; k < f.Label3.size(); ++k) {
    Control label{indexed("Label3", k), K::label, &f.Label3[k], "p3",
                  on_click([&s, &host, k] { Label3_Click(s, host, static_cast<int>(k)); })};
    label.centred = true;
    c.push_back(std::move(label));
  }
  c.push_back({"p2", K::picture, &f.p2});
  c.push_back({"p1", K::picture, &f.p1, "p2", {{E::double_click, plain([&s, &host] {
                                                  chart_DblClick(s, host);
                                                })}}});
  c.push_back({"vs", K::scroll_bar, &f.vs, "p2", {{E::changed, plain([&s, &host] {
                                                     vs_Scroll(s, host);
                                                   })}}});
  c.push_back({"p4", K::picture, &f.p4});
  c.push_back({"tm1", K::timer, &f.tm1, "", on_click([&s, &host] { tm1_Timer(s, host); })});
  c.push_back({"files_timer", K::timer, &f.files_timer, "",
               on_click([&s, &host] { files_timer_Timer(s, host); })});

  // The menus' titles carry their access keys (Alt+F, Alt+O, Alt+T, Alt+H).
  // The File menu keeps its fixed indices; the indices without an item are left out.
  for (std::size_t i = 0; i < f.mf.size(); ++i)
    if (!f.mf[i].caption.empty())
      c.push_back({indexed("mf", i), K::menu_item, &f.mf[i], "&File",
                   on_click([&s, &host, i] { mf_Click(s, host, static_cast<int>(i)); })});
  c.push_back(
      {"mfnt", K::menu_item, &f.mfnt, "F&ont", on_click([&s, &host] { mfnt_Click(s, host); })});
  for (std::size_t i = 0; i < f.mtls.size(); ++i)
    c.push_back({indexed("mtls", i), K::menu_item, &f.mtls[i], "&Tools",
                 on_click([&s, &host, i] { mtls_Click(s, host, static_cast<int>(i)); })});
  c.push_back(
      {"mhl", K::menu_item, &f.mhl, "&Help", on_click([&s, &host] { mhl_Click(s, host); })});
  // The user's events are counted while they run: the chart waits for them
  // before it follows a changed file. A timer's tick is no user's event.
  for (auto& control : c)
    if (control.kind != K::timer)
      for (auto& h : control.on)
        if (h.run) h.run = counted(s, std::move(h.run));
  t.width = f.width, t.height = f.height;
  return t;
}

namespace {

WindowTable font_dialog_table(AppState& s, Host& host) {
  auto& d = s.fontt;
  WindowTable t;
  t.controls = {
      {"fontt", K::form, &d.caption},
      {"Combo1", K::editable_combo, &d.Combo1, "", on_click([&s] { font_form::Combo1_Click(s); })},
      {"Combo2", K::editable_combo, &d.Combo2, "", on_click([&s] { font_form::Combo2_Click(s); })},
      {"Label1", K::label, &d.Label1},
      {"Command1", K::push_button, &d.Command1, "",
       on_click([&s] { font_form::Command1_Click(s); })},
  };
  // The preview shows its text in the chosen font and size.
  t.controls[3].centred = true;
  t.controls[3].font = [&d] { return FontChoice{d.preview_font, d.preview_size}; };
  t.width = d.width, t.height = d.height;
  t.load = [&s, &host] { font_form::Form_Load(s, host); };
  t.closing = &d.closing;
  return t;
}

WindowTable about_box_table(AppState& s, Host& host) {
  auto& d = s.Infor;
  WindowTable t;
  t.controls = {
      {"Infor", K::form, &d.caption},
      {"Label9", K::label, &d.Label9},
      {"Label3", K::label, &d.Label3},
      {"label1", K::label, &d.label1},
      {"Label2", K::label, &d.Label2, "",
       on_click([&s, &host] { about_form::Label2_Click(s, host); })},
      {"Command1", K::push_button, &d.Command1, "",
       on_click([&s] { about_form::Command1_Click(s); })},
  };
  t.controls[1].font = [] { return FontChoice{AboutBox::title_font, AboutBox::title_points}; };
  t.width = d.width, t.height = d.height;
  t.load = [&s] { about_form::Form_Activate(s); };
  t.closing = &d.closing;
  return t;
}

WindowTable convert_dialog_table(AppState& s, Host& host) {
  auto& d = s.convert;
  WindowTable t;
  t.controls = {
      {"convert", K::form, &d.caption, "", {{E::mouse_move, plain([&s, &host] {
                                               convert_form::Form_MouseMove(s, host);
                                             })}}},
      {"label1", K::label, &d.label1},
      {"Text1",
       K::text_box,
       &d.Text1,
       "",
       {{E::key_press, [](UserInput& in) { convert_form::Text1_KeyPress(in.key); }}}},
      {"Label2", K::label, &d.Label2},
      {"Label3", K::label, &d.Label3},
  };
  for (std::size_t i = 0; i < d.command1.size(); ++i) {
    int n = static_cast<int>(i);
    t.controls.push_back(
        {indexed("command1", i),
         K::flat_button,
         &d.command1[i],
         "",
         {{E::click, plain([&s, &host, n] { convert_form::command1_Click(s, host, n); })},
          {E::mouse_move,
           plain([&s, &host, n] { convert_form::command1_MouseMove(s, host, n); })}}});
  }
  t.width = d.width, t.height = d.height;
  t.load = [&s, &host] { convert_form::Form_Load(s, host); };
  t.closing = &d.closing;
  t.frame_close = [&s, &d] {
    if (!d.closing) convert_form::Form_Unload(s);
  };
  return t;
}

WindowTable typ_check_dialog_table(AppState& s, Host& host) {
  auto& d = s.typcheck;
  WindowTable t;
  t.controls = {
      {"typcheck", K::form, &d.caption},
      {"Label1", K::label, &d.Label1},
      {"List1", K::list_box, &d.List1, "", {{E::double_click, plain([&s, &host] {
                                               typ_findings_DblClick(s, host,
                                                                     s.typcheck.List1.index);
                                             })}}},
      {"Command1", K::push_button, &d.Command1, "", on_click([&s] { typ_findings_Close(s); })},
  };
  t.width = d.width, t.height = d.height;
  t.closing = &d.closing;
  return t;
}

}  // namespace

WindowTable dialog_table(AppState& s, Host& host, Dialog which) {
  switch (which) {
    case Dialog::font:
      return font_dialog_table(s, host);
    case Dialog::about:
      return about_box_table(s, host);
    case Dialog::convert:
      return convert_dialog_table(s, host);
    case Dialog::typ_check:
      return typ_check_dialog_table(s, host);
  }
  return {};
}

}  // namespace zw
