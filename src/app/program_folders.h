#pragma once
#include <string>

#include "model/state.h"
#include "platform/file_system.h"

namespace zw {

// The folders of the user's account that the environment names, where programs
// keep their settings.
struct UserFolders {
  std::string config_home;  // XDG_CONFIG_HOME
  std::string home;         // HOME
  std::string app_data;     // APPDATA, on Windows
};
UserFolders user_folders_from_environment();

// The user's own settings folder for this program: $XDG_CONFIG_HOME/zoomwright
// (~/.config/zoomwright when that is unset or not absolute), %APPDATA%\Zoomwright
// on Windows; "" when the environment names no such place.
std::string user_settings_dir(const UserFolders& user);

// Where the program keeps its settings (app_dir: levels.dat, fonts.dat and the
// system folder) and finds its help and examples (share_dir), set once before
// start-up by every front end.
// A copy run from a folder it may write to (the build folder, the unzipped
// Windows package) keeps both beside itself. An installed program (bin/ beside
// share/zoomwright/) keeps its settings in the user's settings folder even when
// it could write beside itself (run as root, or from a prefix in the home
// folder), and so does a copy in a folder it may not write to; that folder is
// made when missing. When it cannot be made or written, settings_problem says
// so, naming it, and the program runs with its defaults and writes no settings.
void find_program_folders(AppState& s, FileSystem& fs, const std::string& program_dir,
                          const UserFolders& user = user_folders_from_environment());

}  // namespace zw
