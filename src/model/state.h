#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "model/include_tables.h"
#include "model/result_table.h"
#include "model/window_controls.h"
#include "model/level_table.h"
#include "model/typ_tables.h"

namespace zw {

// What one rule caught in the data file.
struct RuleCatch {
  std::int64_t caught = 0;
  std::vector<std::string> examples;  // the first few elements caught: "way/123"
  std::string not_evaluated;          // why the rule was not run; "" when it was
};

// What the rules of a style caught in a data file, for the chart's rows.
struct DataCounts {
  std::string data_file;  // what was read and
  std::string style_dir;  // the style run over it: counts show only for these
  // By kind (polygons, lines, points), by the rule's file (a normal path) and
  // the line of its type.
  std::array<std::map<std::pair<std::string, int>, RuleCatch>, kind_count> rules;
};

// The files behind the chart on screen, followed for saves made by other
// programs (an editor), so that the chart follows them.
struct FollowedFiles {
  std::vector<std::string> paths;    // none while no chart is drawn
  std::vector<std::string> changed;  // changed since the chart was last drawn
  double last_change = 0;            // timer_seconds of the latest change
  std::string said;                  // what the last redraw showed in a box
};

// The whole state of the program: the program-wide settings and tables and the
// window-level state with the controls. One object, passed to every handler.
struct AppState {
  // Program-wide settings and selection.
  // Where levels.dat, fonts.dat and the system folder are kept: the program's
  // folder, or the user's settings folder (app/program_folders.h).
  std::string app_dir;
  // The folder of help/ and examples/; app_dir when empty.
  std::string share_dir;
  // Why the settings cannot be kept in app_dir (shown at start-up); "" when they can.
  std::string settings_problem;
  std::string system_dir;
  std::string style_root;
  std::string style_name;
  std::string app_version = "2.51";
  std::string chart_font_name;
  float chart_font_size = 0;
  std::string typ_file;
  std::string image_folder;  // where Save Image last wrote, this session
  // OSM data whose elements each chart row counts; "" for none.
  std::string data_file;
  std::int16_t selected_kind = 0;
  std::int16_t category_box_last = 20;
  std::string quote_char = "\"";
  double last_resize_time = 0;
  bool hover_active = false;
  std::string new_style_name;
  std::string command_line;

  // Lowest resolution on the scale: the level reader sets it, runs lower it.
  std::int16_t lowest_resolution = 24;
  // Set while rule files are being searched for includes; cleared by each run.
  bool scan_busy = false;

  // Window-level state.
  std::int32_t result_count = 0;
  std::int16_t selected_res = -1;  // -1: every resolution
  bool scale_run = false;          // a scale-label run is being served
  int analysis_runs = 0;           // how many times parse has been entered
  // Handlers of the user's events under way (one letting events run lets
  // others in); the chart does not follow its files meanwhile.
  int handlers_running = 0;
  FollowedFiles followed;

  ResultTable results;
  LevelTable levels;
  IncludeTables includes;
  TypTables typ;
  DataCounts data;

  MainWindow f1;
  FontDialog fontt;
  ConvertDialog convert;
  AboutBox Infor;
  TypCheckDialog typcheck;
};

// Whether the settings folder can be used; when not, nothing is read from it or
// written to it, and the category lists are the default ones.
inline bool settings_kept(const AppState& s) {
  return s.settings_problem.empty();
}

// The folder of the help page and the examples.
inline const std::string& share_folder(const AppState& s) {
  return s.share_dir.empty() ? s.app_dir : s.share_dir;
}

}  // namespace zw
