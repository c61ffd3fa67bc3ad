// zoomwright.exe: the window program on Windows.
#include <filesystem>
#include <string>

#include "base/std_file_system.h"
#include "app/main_window.h"
#include "app/program_folders.h"
#include "model/state.h"
#include "platform/win32/main_window_view.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_host.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

// The directory that holds the program file.
std::string program_dir() {
  std::wstring path(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n < path.size() ? n : 0);
  return zw::from_fs_path(std::filesystem::path(path).parent_path());
}

// The whole argument text: the arguments after the program's name, joined by
// blanks (a quoted path arrives without its quotes).
std::string argument_text() {
  int n = 0;
  std::string text;
  if (LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &n)) {
    for (int i = 1; i < n; ++i) {
      if (i > 1) text += ' ';
      text += zw::win32::utf8(args[i]);
    }
    LocalFree(args);
  }
  return text;
}

int run_window(zw::AppState& s, zw::win32::Win32Host& host, int show);

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  // The window is laid out in twips at the screen's own resolution: on a
  // high-DPI screen it is drawn sharp at its size, not stretched by the system.
  SetProcessDPIAware();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  // The folder chooser needs COM in this thread.
  OleInitialize(nullptr);

  zw::AppState s;
  s.command_line = argument_text();

  zw::win32::Win32Host host;
  zw::find_program_folders(s, host.fs(), program_dir());
  // A window that cannot be made is said so, not left to an abort.
  int status = 1;
  try {
    status = run_window(s, host, show);
  } catch (const std::exception& e) {
    host.set_window(nullptr);
    MessageBoxW(nullptr, zw::win32::shown(zw::window_failed_message(e.what())).c_str(),
                L"Zoomwright", MB_OK | MB_ICONERROR);
  }
  OleUninitialize();
  return status;
}

namespace {

int run_window(zw::AppState& s, zw::win32::Win32Host& host, int show) {
  zw::win32::MainWindowView window(s, host, host.twips_per_pixel());
  host.set_window(&window);
  zw::Form_Load(s, host);
  window.sync();
  window.show(show);

  MSG msg;
  while (!window.closed() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.translate_accelerator(msg)) continue;
    if (window.dialog_message(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  host.set_window(nullptr);
  return 0;
}

}  // namespace
