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
    HWND body = GetDlgItem(w, 0xFFFF);  // a message box's text
    walk::ModalSeen what{text_of(w), body ? text_of(body) : std::string(), Answer::ok, ""};
    // The button Enter presses is drawn as the default one.
    for (auto [id, answer] : message_buttons) {
      HWND button = GetDlgItem(w, id);
      if (button && (GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
        what.default_answer = answer;
    }
    wchar_t folder[MAX_PATH] = {};
    if (!body && SendMessageW(w, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0)
      what.folder = win32::utf8(folder);
    seen.push_back(what);
    acting_ = true;
    if (!script_.empty()) {
      Act act = std::move(script_.front());
      script_.pop_front();
      act(w);
    } else {
      unexpected.push_back(what.title + ": " + what.text);
      click(w, body && GetDlgItem(w, IDOK) && !GetDlgItem(w, IDYES) ? IDOK : IDCANCEL);
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
