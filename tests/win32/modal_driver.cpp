#include "win32/modal_driver.h"

#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include <filesystem>

#include "base/std_file_system.h"
#include "platform/win32/wide_text.h"

namespace zw::test {
namespace {

ModalDriver* active = nullptr;

bool is_dialog(HWND w) {
  wchar_t name[32] = {};
  GetClassNameW(w, name, 32);
  return std::wstring(name) == L"#32770";
}

BOOL CALLBACK collect(HWND w, LPARAM data) {
  if (IsWindowVisible(w) && IsWindowEnabled(w) && is_dialog(w))
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(w);
  return TRUE;
}

void click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

std::string text_of(HWND window) {
  int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
  n = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return win32::utf8(text);
}

std::string windows_path(const std::string& path) {
  auto p = std::filesystem::absolute(to_fs_path(path));
  return from_fs_path(p.make_preferred());
}

void pump_for(int ms) {
  DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < static_cast<DWORD>(ms)) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  }
}

ModalDriver::ModalDriver() {
  active = this;
  timer_ = SetTimer(nullptr, 0, 25, tick);
}

ModalDriver::~ModalDriver() {
  KillTimer(nullptr, timer_);
  active = nullptr;
}

void CALLBACK ModalDriver::tick(HWND, UINT, UINT_PTR, DWORD) {
  if (active) active->poll();
}

void ModalDriver::poll() {
  if (acting_) return;
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&windows));
  for (HWND w : windows) {
    if (handled_.count(w)) continue;
    handled_.insert(w);
    std::string title = text_of(w);
    HWND body = GetDlgItem(w, 0xFFFF);  // a message box's text
    std::string what = title + ": " + (body ? text_of(body) : std::string());
    seen.push_back(what);
    acting_ = true;
    if (!script_.empty()) {
      Act act = std::move(script_.front());
      script_.pop_front();
      act(w);
    } else if (body && GetDlgItem(w, IDOK) && !GetDlgItem(w, IDYES)) {
      click(w, IDOK);
    } else {
      unexpected.push_back(what);
      click(w, IDCANCEL);
    }
    acting_ = false;
  }
  // A window that has gone may come back under the same handle.
  for (auto it = handled_.begin(); it != handled_.end();)
    it = IsWindow(*it) && IsWindowVisible(*it) ? std::next(it) : handled_.erase(it);
}

ModalDriver::Act ModalDriver::press(int id) {
  return [id](HWND w) { click(w, id); };
}

ModalDriver::Act ModalDriver::type_file_name(const std::string& path) {
  return [path](HWND w) {
    // The name field: an edit box, or the combo box of the explorer style.
    HWND name = GetDlgItem(w, edt1);
    if (!name) name = GetDlgItem(w, cmb13);
    SetWindowTextW(name, win32::shown(path).c_str());
    click(w, IDOK);
  };
}

ModalDriver::Act ModalDriver::choose_folder(const std::string& path) {
  // The folder picker has a name field too.
  return type_file_name(path);
}

}  // namespace zw::test
