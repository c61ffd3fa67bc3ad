#include "app/main_window.h"

#include "analysis/analysis.h"
#include "app/failure.h"
#include "app/paths.h"
#include "app/shell.h"
#include "app/text.h"
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
  s.quote_char = "\"";
}

void reset_window_state(AppState& s) {
  s.f1.p1.left = 0;
  s.f1.p1.top = 0;
  s.includes.extra_count = -1;
  s.f1.Label6.caption = "0";
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
  make_system_dir(s, host);
  savefiles(s, host, false);
  set_constants(s);
  reset_window_state(s);
  lay_out_category_grid(s);
  create_scale_labels(s);
  loadoptions(s, host);
  place_chart_panes(s);
}

void select_style_dir(AppState& s, Host& host, const std::string& style_dir) {
  auto dir = paths::to_host(style_dir);
  while (dir.size() > 1 && dir.back() == paths::separator) dir.pop_back();
  auto root = paths::part(dir, 0);
  if (root.empty()) root = std::string(".") + paths::separator;
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
  attempt_quietly([&] {
    get_levels(s, host, s.style_root + paths::sep_text + paths::part(s.style_name, 2));
  });
}

void Combo2_Click(AppState& s, Host& host) {
  attempt_quietly([&] {
    s.style_name = s.f1.Combo2.text;
    s.includes.clear();
    auto dir = paths::collapse(s.style_root + paths::sep_text + s.style_name);
    s.f1.Label6.caption = "0";
    get_levels(s, host, dir);
    chk_plot(s, host);
  });
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
    attempt_quietly([&] {
      s.style_name = paths::part(dir, 2);
      f.label1.caption = "0";
      parse(s, host, dir);
      host.set_busy(false);
      s.scale_run = false;
      resize_(s, host);
      bounded(f.Label3, k, "Label3").fore = colours::red;
      f.Text2.enabled = true;
    });
  }
  host.set_busy(false);
}

void Form_KeyPress(AppState& s, Host& host, int key) {
  if (key == 18) savefiles(s, host, true);
}

}  // namespace zw
