#include "app/program_folders.h"

#include <cstdlib>

#include "base/std_file_system.h"
#include "base/paths.h"

namespace zw {
namespace {

std::string without_trailing_separator(std::string dir) {
  while (dir.size() > 1 && paths::is_separator(dir.back())) dir.pop_back();
  return dir;
}

// The folder that holds dir; dir itself for a root.
std::string parent_of(const std::string& dir) {
  auto parent = without_trailing_separator(paths::part(without_trailing_separator(dir), 0));
  return parent.empty() ? dir : parent;
}

bool may_write_in(FileSystem& fs, const std::string& dir, std::string& error) {
  // A name no one uses, so that a read-only levels.dat does not count.
  return fs.dir_exists(dir) && fs.can_write(paths::join(dir, ".zoomwright-write-test"), error);
}

// Makes dir and the folders above it that are missing.
bool make_folders(FileSystem& fs, const std::string& dir, std::string& error) {
  if (fs.dir_exists(dir)) return true;
  auto parent = parent_of(dir);
  if (parent != dir && !make_folders(fs, parent, error)) return false;
  return fs.create_dir(dir, error);
}

std::string environment(const char* name) {
#ifdef _WIN32
  // The wide form, so that a user name outside the ANSI code page arrives whole.
  std::wstring wide(name, name + std::char_traits<char>::length(name));
  const wchar_t* value = _wgetenv(wide.c_str());
  return value ? from_fs_path(std::filesystem::path(value)) : std::string();
#else
  const char* value = std::getenv(name);
  return value ? value : "";
#endif
}

}  // namespace

UserFolders user_folders_from_environment() {
  return {environment("XDG_CONFIG_HOME"), environment("HOME"), environment("APPDATA")};
}

std::string user_settings_dir(const UserFolders& user) {
#ifdef _WIN32
  return user.app_data.empty() ? std::string() : paths::join(user.app_data, "Zoomwright");
#else
  // A relative XDG_CONFIG_HOME is to be ignored.
  if (!user.config_home.empty() && user.config_home[0] == '/')
    return paths::join(user.config_home, "zoomwright");
  if (!user.home.empty()) return paths::join(paths::join(user.home, ".config"), "zoomwright");
  return {};
#endif
}

void find_program_folders(AppState& s, FileSystem& fs, const std::string& program_dir,
                          const UserFolders& user) {
  auto program = without_trailing_separator(program_dir);
  auto installed_share = paths::join(paths::join(parent_of(program), "share"), "zoomwright");
  bool installed = paths::part(program, 1) == "bin" && fs.dir_exists(installed_share);
  s.share_dir = installed ? installed_share : program;
  s.settings_problem.clear();
  std::string error;
  if (!installed && may_write_in(fs, program, error)) {
    s.app_dir = program;
    return;
  }
  s.app_dir = user_settings_dir(user);
  error.clear();
  if (s.app_dir.empty()) {
#ifdef _WIN32
    s.settings_problem = "No folder for the settings: APPDATA is not set.";
#else
    s.settings_problem = "No folder for the settings: neither XDG_CONFIG_HOME nor HOME is set.";
#endif
  } else if (!make_folders(fs, s.app_dir, error) || !may_write_in(fs, s.app_dir, error)) {
    if (error.empty()) error = "Cannot create the folder " + s.app_dir;
    s.settings_problem = "The settings cannot be kept in " + s.app_dir + ".\r\n" + error;
  }
  if (!s.settings_problem.empty())
    s.settings_problem += "\r\n\r\nThe program runs with its default settings and keeps none.";
}

}  // namespace zw
