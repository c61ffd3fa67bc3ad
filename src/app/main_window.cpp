#include "app/main_window.h"
#include "app/check_handlers.h"

#include <cmath>

#include "analysis/analysis.h"
#include "base/failure.h"
#include "base/paths.h"
#include "app/data_trace.h"
#include "app/follow_files.h"
#include "app/program_folders.h"
#include "app/settings.h"
#include "base/open_document.h"
#include "model/caption_and_canvas.h"
#include "platform/control_table.h"
#include "base/text.h"
#include "chart/chart.h"
#include "levels/categories.h"
#include "levels/options_file.h"

namespace zw {

void make_system_dir(AppState& s, Host& host) {
  if (!host.fs().dir_exists(s.system_dir)) {
    std::string error;
    host.fs().create_dir(s.system_dir, error);
  }
}

void set_constants(AppState& s) {
  s.app_version = "2.51";
  s.category_box_last = 20;
  s.quote_char = '"';
}

void reset_window_state(AppState& s) {
  s.f1.p1.left = 0;
  s.f1.p1.top = 0;
  s.includes.extra_count = -1;
  s.f1.Label6.caption = text::decimal(0);
  s.f1.Text2.back = rgb(245, 245, 245);
}

void lay_out_category_grid(AppState& s) {
  auto& boxes = s.f1.Check1;
  boxes[0].bounds.width = 1296;
  int l0 = boxes[0].bounds.left, t0 = boxes[0].bounds.top, w0 = boxes[0].bounds.width;
  for (int i = 1; i < category_boxes; ++i) {
    auto& b = boxes[static_cast<std::size_t>(i)].bounds;
    int row = i / 7, column = i % 7;
    b.left = l0 + (w0 + 20) * column;
    b.top = t0 + 400 * row;
    b.width = w0;
    boxes[static_cast<std::size_t>(i)].caption.clear();
  }
  s.f1.Check3[1].bounds.left = s.f1.Check3[0].bounds.left;
  s.f1.Check3[2].bounds.left = s.f1.Check3[0].bounds.left;
}

void create_scale_labels(AppState& s) {
  auto& labels = s.f1.Label3;
  for (int r = 1; r < scale_labels; ++r) labels[static_cast<std::size_t>(r)] = labels[0];
  s.f1.scale_labels_created = true;
  for (int r = 1; r < scale_labels; ++r) labels[static_cast<std::size_t>(r)].back = s.f1.p3.back;
}

void place_chart_panes(AppState& s) {
  auto& f = s.f1;
  f.p3.left = 15;
  f.p3.top = f.label2.bounds.top + f.label2.bounds.height;
  f.p2.left = 15;
  f.p2.top = f.p3.top + f.p3.height();
}

void start_batch(AppState& s, Host& host) {
  if (settings_kept(s)) {
    make_system_dir(s, host);
    savefiles(s, host, false);
  }
  set_constants(s);
  reset_window_state(s);
  lay_out_category_grid(s);
  create_scale_labels(s);
  loadoptions(s, host);
  place_chart_panes(s);
}

void attach_pictures(AppState& s, const PictureSurfaces& surfaces) {
  s.f1.p1.attach(surfaces.p1);
  s.f1.p2.attach(surfaces.p2);
  s.f1.p3.attach(surfaces.p3);
  s.f1.p4.attach(surfaces.p4);
}

void start_headless(AppState& s, Host& host, const PictureSurfaces& surfaces,
                    const std::string& system_dir) {
  attach_pictures(s, surfaces);
  if (!system_dir.empty()) {
    // A folder of the caller's choice: the settings folder does not matter.
    s.settings_problem.clear();
    s.system_dir = paths::to_host(system_dir);
  } else {
    s.system_dir = paths::join(s.app_dir, "system");
    if (!settings_kept(s)) host.message(s.settings_problem);
  }
  start_batch(s, host);
}

void select_style_dir(AppState& s, Host& host, const std::string& style_dir) {
  auto dir = paths::to_host(style_dir);
  while (dir.size() > 1 && dir.back() == paths::separator) dir.pop_back();
  auto root = paths::part(dir, 0);
  // A plain name is a style in the current directory.
  if (root.empty() || root == dir) root = std::string(".") + paths::separator;
  if (root.size() > 1 && root.back() == paths::separator) root.pop_back();
  s.style_root = root;
  s.style_name = paths::part(dir, 1);
  s.includes.clear();
  get_styles(s, host);
}

void get_styles(AppState& s, Host& host) {
  auto& f = s.f1;
  f.Combo2.text = "No Styles";
  if (s.style_root.empty()) return;
  std::vector<std::string> dirs;
  attempt_quietly([&] { dirs = host.fs().list_dirs(s.style_root); });
  f.Combo2.items.clear();
  for (const auto& d : dirs) f.Combo2.items.push_back(paths::part(d, 1));
  f.Combo2.text = paths::part(s.style_name, 2);
  attempt_quietly(
      [&] { get_levels(s, host, s.style_root + paths::sep_text + paths::part(s.style_name, 2)); });
}

void Combo2_Click(AppState& s, Host& host) {
  attempt_quietly([&] {
    s.style_name = s.f1.Combo2.text;
    s.includes.clear();
    auto dir = paths::collapse(s.style_root + paths::sep_text + s.style_name);
    s.f1.Label6.caption = text::decimal(0);
    // Nothing of the previous style stays on screen: its rows, its level
    // marks, its lowest column.
    clear_chart(s, host);
    get_levels(s, host, dir);
    cap(s);
    refresh_data_counts(s, host);
    chk_plot(s, host);
  });
}

void choose_style_root(AppState& s, Host& host, const std::string& root) {
  bool same = !s.style_root.empty() &&
              paths::normal(paths::to_host(root)) == paths::normal(paths::to_host(s.style_root));
  s.style_root = root;
  if (same) {
    get_styles(s, host);
    return;
  }
  // The previous style belongs to the previous root: the first style of the
  // new one is selected, or none when it has none.
  s.style_name.clear();
  s.includes.clear();
  s.levels = LevelTable{};
  s.f1.Label4.caption = "Levels:";
  clear_chart(s, host);
  get_styles(s, host);
  auto& list = s.f1.Combo2;
  if (list.items.empty()) {
    list.text = "No Styles";
    cap(s);
    return;
  }
  list.text = list.items.front();
  Combo2_Click(s, host);
}

void Label3_Click(AppState& s, Host& host, int k) {
  auto& f = s.f1;
  s.scale_run = true;
  s.selected_res = static_cast<std::int16_t>(k);
  attempt_quietly([&] { f.p1.draw().clear(f.p1.back); });
  f.p1.top = 0;
  host.set_busy(true);
  std::string dir;
  if (f.Combo2.text != "No Styles")
    dir = s.style_root + paths::sep_text + f.Combo2.text + paths::sep_text;
  else if (!s.style_name.empty())
    dir = paths::part(s.style_name, 0) + paths::sep_text;
  dir = paths::collapse(dir);
  if (dir.empty() || host.fs().list_files(dir, "*").empty()) {
    host.message("Cannot find file " + dir);
  } else {
    // Step by step: a failing step must not leave scale_run set for later runs.
    s.style_name = paths::part(dir, 2);
    f.label1.caption = text::decimal(0);
    forget_included_files(s, s.selected_kind);
    attempt_quietly([&] { parse(s, host, dir); });
    host.set_busy(false);
    s.scale_run = false;
    attempt_quietly([&] { resize_chart(s, host); });
    attempt_quietly([&] { bounded(f.Label3, k, "Label3").fore = colours::red; });
    f.Text2.enabled = true;
    follow_chart(s, host);
  }
  host.set_busy(false);
}

void Form_KeyPress(AppState& s, Host& host, int key) {
  if (key != key_ctrl_r) return;
  if (settings_kept(s))
    savefiles(s, host, true);
  else
    host.message(s.settings_problem);
}

namespace {

constexpr Colour normal_face = rgb(230, 230, 230);
constexpr Colour hover_face = rgb(250, 250, 250);

}  // namespace

void Form_Load(AppState& s, Host& host) {
  auto cmd = s.command_line;
  attempt_quietly([&] { paint_button(s, host, s.f1.command2, "Check", 0); });
  attempt_quietly([&] { paint_button(s, host, s.f1.com1, ">>", 0); });
  s.system_dir = paths::join(s.app_dir, "system");
  if (settings_kept(s)) {
    attempt_quietly([&] { make_system_dir(s, host); });
    attempt_quietly([&] { savefiles(s, host, false); });
  } else {
    host.message(s.settings_problem);
  }
  set_constants(s);
  reset_window_state(s);
  if (settings_kept(s)) attempt_quietly([&] { loaddata(s, host); });
  attempt_quietly([&] {
    if (!cmd.empty()) choose_style_root(s, host, cmd);
  });
  if (!s.style_name.empty()) s.f1.Combo2.text = paths::part(s.style_name, 2);
  cap(s);
  lay_out_category_grid(s);
  create_scale_labels(s);
  attempt_quietly([&] { loadoptions(s, host); });
  place_chart_panes(s);
}

void Form_Activate(AppState& s, Host& host) {
  auto& f = s.f1;
  attempt_quietly([&] {
    f.tm1.enabled = false;
    resize_chart(s, host);
  });
  attempt_quietly([&] {
    auto fonts = paths::join(s.app_dir, "fonts.dat");
    bool kept = settings_kept(s);
    if (kept && host.fs().file_exists(fonts)) {
      ldfnts(s, host, fonts);
      return;
    }
    // Without a settings folder there is no cache: the list is collected once a
    // run, with nothing to announce.
    if (!kept && !f.Combo1.items.empty()) return;
    if (kept) host.message("Compiling Fonts");
    f.Combo1.items.clear();
    for (const auto& name : host.screen_fonts()) {
      if (name.find('@') != std::string::npos) continue;
      f.Combo1.items.push_back(name);
      host.do_events();
    }
    if (kept) savefnts(s, host, fonts);
  });
  if (s.chart_font_name.size() < 3) s.chart_font_name = "Arial";
  if (!(s.chart_font_size >= 6 && s.chart_font_size <= 16)) s.chart_font_size = 10;
  attempt_quietly([&] { f.p1.draw().set_font(s.chart_font_name, s.chart_font_size); });
  f.Combo1.text = s.chart_font_name;
  for (int r = 1; r < scale_labels; ++r)
    f.Label3[static_cast<std::size_t>(r)].bounds.height = f.p3.height();
  // The rows of the last analysis stay drawn when a dialog closes.
  attempt_quietly([&] { plot(s, host, s.result_count); });
  host.set_busy(false);
  if (f.label2.value == 1 && !text::contains(text::lower(f.label2.caption), ".txt"))
    host.message("Add your TYP file (as .txt)\r\n\r\nFile,Open TYP file");
}

void paint_button(AppState& s, Host& host, PictureBox& button, const std::string& caption,
                  int style) {
  if (style == 0 && caption.empty() && !s.hover_active && button.back == normal_face) return;
  if (style == 1 && button.back == hover_face) return;
  auto& canvas = button.draw();
  s.hover_active = false;
  std::string shown = caption.empty() ? button.tag : caption;
  if (style == 1) {
    button.back = hover_face;
    canvas.set_fore(colours::blue);
    s.hover_active = true;
  } else {
    button.back = normal_face;
    canvas.set_fore(colours::black);
  }
  canvas.clear(button.back);
  // Start at 10 points and shrink until the caption fits the button.
  double size = 10;
  canvas.set_font("Arial", size);
  auto width = [&] { return canvas.text_width(shown); };
  while (size > 1 &&
         (std::abs(width() - button.width()) <= 40 || (size > 6 && width() > button.width()))) {
    size -= 1;
    canvas.set_font("Arial", size);
    host.do_events();
  }
  canvas.move_to((button.width() - width()) / 2, (button.height() - canvas.text_height(shown)) / 2);
  canvas.print(shown);
  button.tag = shown;
}

void com1_Click(AppState& s, Host& host) {
  attempt_quietly([&] {
    auto chosen = host.choose_folder("Select Style   Directory");
    if (chosen.empty() || !host.fs().dir_exists(chosen)) return;
    choose_style_root(s, host, chosen);
  });
}

void button_MouseMove(AppState& s, Host& host, PictureBox& button) {
  attempt_quietly([&] { paint_button(s, host, button, "", 1); });
}

void Form_MouseMove(AppState& s, Host& host) {
  if (!s.hover_active) return;
  attempt_quietly([&] {
    paint_button(s, host, s.f1.command2, "", 0);
    paint_button(s, host, s.f1.com1, "", 0);
  });
}

void Form_Resize(AppState& s, Host& host) {
  s.last_resize_time = host.timer_seconds();
  s.f1.tm1.enabled = true;
}

void tm1_Timer(AppState& s, Host& host) {
  if (std::abs(host.timer_seconds() - s.last_resize_time) <= 0.2) return;
  s.f1.tm1.enabled = false;
  attempt_quietly([&] { resize_chart(s, host); });
}

void Form_QueryUnload(AppState& s, Host& host) {
  if (settings_kept(s)) savedata(s, host);
}

std::string window_failed_message(const std::string& why) {
  return "Zoomwright cannot open its window: " + why;
}

std::string options_file_path(const AppState& s) {
  return paths::collapse(s.style_root + paths::sep_text + s.style_name + paths::sep_text +
                         "options");
}

void Label4_DblClick(AppState& s, Host& host) {
  open_document(host, options_file_path(s), true, "the style's options file");
}

void Label4_MouseDown(AppState& s, Host& host, int button) {
  if (button == right_button) Combo2_Click(s, host);
}

void Text2_KeyPress(AppState& s, Host& host, int key) {
  if (key == key_enter) command2_Click(s, host);
}

void option_toggled(AppState& s, Host& host) {
  if (category_ticked(s)) {
    chk_plot(s, host);
    return;
  }
  // A chart of a text search is redrawn as it stands, with the new option.
  if (s.result_count > 0) attempt_quietly([&] { resize_chart(s, host); });
}

}  // namespace zw
