#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/files.h"
#include "cli/commands.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The directory that holds the program file.
std::string program_dir(const char* argv0) {
  namespace fs = std::filesystem;
  std::error_code ec;
#ifdef _WIN32
  wchar_t buffer[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return zw::from_fs_path(fs::path(buffer).parent_path());
#else
  auto self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return zw::from_fs_path(self.parent_path());
#endif
  auto p = fs::absolute(zw::to_fs_path(argv0 ? argv0 : "."), ec);
  return zw::from_fs_path(p.parent_path());
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  zw::cli::Io io{std::cout, std::cerr, program_dir(argc > 0 ? argv[0] : nullptr)};
  return zw::cli::run(args, io);
}
