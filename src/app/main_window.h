#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

// The main window's own handlers: the window itself, com1, Combo2, Label3,
// Label4, Text2, tm1 and the option boxes. The others are beside it in app/:
// check_handlers.h (the Check button and the boxes that choose what is checked),
// menus.h, font_dialog.h, about_box.h, convert_dialog.h, typ_check_run.h; the
// chart's scroll bar is chart/chart.h's vs_Scroll.

namespace zw {

// Start-up steps, each one on its own so that every front end runs the same ones.
// Creates system_dir (app_dir + "system" in the window) when missing.
void make_system_dir(AppState& s, Host& host);
// The version, the last category box and the quote character.
void set_constants(AppState& s);
// The chart canvas at the pane's top left, no included files recorded (count
// "0"), the filter text's grey.
void reset_window_state(AppState& s);
// The category boxes in rows of seven, all but the first without a caption
// until a category file names them; the three kind boxes in one column.
void lay_out_category_grid(AppState& s);
// Label3(1..24) made as copies of Label3(0), on the scale strip's background.
void create_scale_labels(AppState& s);
// The scale strip p3 under the "TYP" box, the chart pane p2 under the strip.
void place_chart_panes(AppState& s);

// Start-up without settings and without a window, as the batch front end and
// the tests use it: the system folder and its missing default category files,
// the constants, the window state, the category grid, the scale labels, the
// selected kind's categories and the panes (system_dir set by the caller).
void start_batch(AppState& s, Host& host);

// The drawing surfaces behind the picture boxes p1..p4 of a session without a
// window.
struct PictureSurfaces {
  Surface* p1 = nullptr;
  Surface* p2 = nullptr;
  Surface* p3 = nullptr;
  Surface* p4 = nullptr;
};
void attach_pictures(AppState& s, const PictureSurfaces& surfaces);
// The start of every session without a window (the batch front end, the tests,
// the fuzz targets, the benchmarks): the surfaces attached, the system folder
// set (system_dir, or "system" in app_dir when it is empty), then start_batch.
void start_headless(AppState& s, Host& host, const PictureSurfaces& surfaces,
                    const std::string& system_dir = {});
// Selects a style directory as start-up selects a restored style: its parent
// becomes the style root, its name the style, and the styles are listed.
void select_style_dir(AppState& s, Host& host, const std::string& style_dir);

// Lists the style directories under style_root in Combo2 and reads the
// selected style's levels.
void get_styles(AppState& s, Host& host);
// Selects the style shown in Combo2.
void Combo2_Click(AppState& s, Host& host);
// A style root chosen (the ">>" button, the command line): a new root drops the
// previous style and selects its first style.
void choose_style_root(AppState& s, Host& host, const std::string& root);
// The scale-label run: the analysis narrowed to resolution k.
void Label3_Click(AppState& s, Host& host, int k);
// The window's key press; Ctrl+R (key_ctrl_r) writes the default category files again.
void Form_KeyPress(AppState& s, Host& host, int key);

// The window's start-up: the flat buttons painted, the system folder in the
// settings folder with its missing default category files (or the message why
// no settings can be kept), the constants and the
// window state, the settings restored (a style root on the command line
// overrides the restored one), the caption, then as start_batch from the
// category grid on.
void Form_Load(AppState& s, Host& host);
// Each activation: the window laid out, the installed fonts read from
// fonts.dat (collected into it the first time), the chart font corrected
// (Arial for a name shorter than three characters, 10 points for a size
// outside 6 to 16), the scale labels as tall as the strip, the rows of the last
// analysis charted again, and a reminder to open a TYP text file when "TYP" is
// ticked without one.
void Form_Activate(AppState& s, Host& host);

// Paints a picture box as a flat button: style 0 normal, 1 hover. An empty
// caption repaints the caption of the last painting.
void paint_button(AppState& s, Host& host, PictureBox& button, const std::string& caption,
                  int style);

// The window's events.
void com1_Click(AppState& s, Host& host);
void button_MouseMove(AppState& s, Host& host, PictureBox& button);
void Form_MouseMove(AppState& s, Host& host);
void Form_Resize(AppState& s, Host& host);
void tm1_Timer(AppState& s, Host& host);
void Form_QueryUnload(AppState& s, Host& host);
void Label4_DblClick(AppState& s, Host& host);
void Label4_MouseDown(AppState& s, Host& host, int button);
void Text2_KeyPress(AppState& s, Host& host, int key);
// "TYP" clicked, "Inc", "Overview Only" or "Show Text" released: the analysis
// runs again when a category is ticked; a chart of a text search is redrawn.
void option_toggled(AppState& s, Host& host);

// What the window program says when its window cannot be made.
std::string window_failed_message(const std::string& why);

// The options file of the selected style, as Label4's double-click opens it.
std::string options_file_path(const AppState& s);

}  // namespace zw
