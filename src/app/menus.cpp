#include "app/menus.h"
#include "app/check_handlers.h"
#include "app/convert_dialog.h"

#include "base/failure.h"
#include "chart/image_export.h"
#include "base/paths.h"
#include "app/program_folders.h"
#include "base/open_document.h"
#include "base/text.h"
#include "app/data_trace.h"
#include "app/typ_check_run.h"
#include "chart/chart.h"
#include "convert/convert_style.h"
#include "typ/typ_reader.h"

namespace zw {

std::string clean_dialog_path(const std::string& raw) {
  // The system's dialogs may hand back a NUL-padded name buffer. The path is
  // never cut to the buffer's length: a long path stays whole.
  return text::trim(text::remove_all(raw, std::string(1, '\0')));
}

std::string file_dialog(Host& host, bool save, const std::string& initial_dir,
                        const std::string& default_name) {
  return clean_dialog_path(host.file_dialog(save, initial_dir, default_name));
}

std::string help_page(const AppState& s) {
  return paths::join(paths::join(share_folder(s), "help"), "index.html");
}

namespace {

void open_typ(AppState& s, Host& host) {
  std::string path;
  attempt_quietly([&] { path = file_dialog(host, false, "", "*.txt"); });
  if (path.empty()) return;
  bool read = false;
  attempt_quietly([&] { read = loadtyp(s, host, path); });
  if (read) s.f1.label2.value = 1;
  attempt_quietly([&] { chk_plot(s, host); });
}

void save_image_command(AppState& s, Host& host) {
  std::string path;
  // The dialog opens where the last image went.
  auto folder = s.image_folder.empty() ? s.system_dir : s.image_folder;
  attempt_quietly([&] { path = file_dialog(host, true, folder, "untitled.bmp"); });
  if (path.empty()) return;
  bool saved = false;
  attempt_quietly([&] { saved = save_image(s, host, path); });
  if (saved) s.image_folder = paths::part(path, 0);
}

}  // namespace

void mf_Click(AppState& s, Host& host, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= s.f1.mf.size()) return;
  const auto& item = s.f1.mf[static_cast<std::size_t>(index)];
  if (!item.enabled || !item.visible) return;
  switch (index) {
    case file_menu::open_data:
      open_data_file(s, host);
      break;
    case file_menu::close_data:
      close_data_file(s, host);
      break;
    case file_menu::open_typ:
      open_typ(s, host);
      break;
    case file_menu::about:
      host.show_dialog(Dialog::about);
      break;
    case file_menu::save_image:
      save_image_command(s, host);
      break;
    case file_menu::exit:
      host.close_main_window();
      break;
    default:
      break;
  }
}

void mfnt_Click(AppState& s, Host& host) {
  if (!s.f1.mfnt.enabled) return;
  host.show_dialog(Dialog::font);
  if (s.chart_font_name.empty()) return;
  attempt_quietly([&] { s.f1.p1.draw().set_font(s.chart_font_name, s.chart_font_size); });
  attempt_quietly([&] { plot(s, host, s.result_count); });
  // plot leaves the busy cursor to resize_chart, which does not run here.
  host.set_busy(false);
}

void mtls_Click(AppState& s, Host& host, int index) {
  if (index == check_typ_item && s.f1.mtls[check_typ_item].enabled) check_typ_Click(s, host);
  if (index != 0) return;
  s.new_style_name.clear();
  host.show_dialog(Dialog::convert);
  if (!s.new_style_name.empty()) change_res_to_lev(s, host);
}

void mhl_Click(AppState& s, Host& host) {
  if (!s.f1.mhl.enabled) return;
  open_document(host, help_page(s), false, "the help page");
}

}  // namespace zw
