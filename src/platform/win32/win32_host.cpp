#include "platform/win32/win32_host.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

#include "platform/win32/dialogs.h"
#include "platform/win32/main_window_view.h"
#include "platform/win32/wide_text.h"

namespace zw::win32 {

void pump_messages(MainWindowView* window) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (window && window->translate_accelerator(msg)) continue;
    if (window && window->dialog_message(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HWND Win32Host::owner() const {
  // A question asked from a dialog belongs to that dialog.
  if (HWND dialog = open_dialog()) return dialog;
  return window_ && !window_->closed() ? window_->hwnd() : nullptr;
}

Answer Win32Host::message(const std::string& text, Buttons buttons) {
  UINT type = buttons == Buttons::yes_no          ? MB_YESNO
              : buttons == Buttons::no_yes        ? MB_YESNO | MB_DEFBUTTON2
              : buttons == Buttons::yes_no_cancel ? MB_YESNOCANCEL
                                                  : MB_OK;
  // A message must be readable even while the busy cursor is up.
  bool was_busy = busy_;
  if (was_busy) set_busy(false);
  int pressed = MessageBoxW(owner(), shown(text).c_str(), L"Zoomwright", type);
  if (was_busy) set_busy(true);
  switch (pressed) {
    case IDYES:
      return Answer::yes;
    case IDNO:
      return Answer::no;
    case IDCANCEL:
      return buttons == Buttons::yes_no_cancel ? Answer::cancel : Answer::no;
    default:
      return Answer::ok;
  }
}

void Win32Host::set_busy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (window_) window_->set_busy_cursor(busy);
}

void Win32Host::do_events() {
  pump_messages(window_);
  if (window_) window_->sync();
}

std::string Win32Host::file_dialog(bool save, const std::string& initial_dir,
                                   const std::string& default_name) {
  // Room for any path the system allows; no questions about existing files
  // (the callers ask their own).
  std::wstring name(32768, L'\0');
  auto preset = shown(default_name);
  std::copy(preset.begin(), preset.begin() + std::min(preset.size(), name.size() - 1),
            name.begin());
  auto dir = shown(initial_dir);
  // A preset pattern ("*.txt") filters the listing from the start, as the
  // only entry of the type list.
  std::wstring filter;
  if (preset.find_first_of(L"*?") != std::wstring::npos) filter = preset + L'\0' + preset + L'\0';
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = initial_dir.empty() ? nullptr : dir.c_str();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrTitle = save ? L"Save File" : L"Open File";
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
  BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return {};
  return utf8(std::wstring(name.c_str()));
}

std::string Win32Host::choose_folder(const std::string& title) {
  // The system's folder picker, with a name field where a path can be typed.
  IFileOpenDialog* dialog = nullptr;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&dialog))))
    return {};
  std::string chosen;
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
  dialog->SetTitle(shown(title).c_str());
  IShellItem* item = nullptr;
  if (SUCCEEDED(dialog->Show(owner())) && SUCCEEDED(dialog->GetResult(&item))) {
    PWSTR path = nullptr;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
      chosen = utf8(path);
      CoTaskMemFree(path);
    }
    item->Release();
  }
  dialog->Release();
  return chosen;
}

bool Win32Host::shell_open(const std::string& target) {
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner(), L"open", shown(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

// Notepad takes no line: the file opens at its top.
bool Win32Host::edit_text_file(const std::string& path, int) {
  // Quoted, so that a path with blanks reaches the editor whole.
  auto argument = L"\"" + shown(path) + L"\"";
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(owner(), L"open", L"NOTEPAD.EXE", argument.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;
}

namespace {

int CALLBACK add_font(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto& names = *reinterpret_cast<std::vector<std::wstring>*>(data);
  std::wstring name = font->lfFaceName;
  // Each face comes once for every character set it has.
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  return 1;
}

}  // namespace

std::vector<std::string> Win32Host::screen_fonts() {
  std::vector<std::wstring> names;
  HDC screen = GetDC(nullptr);
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(screen, &all, add_font, reinterpret_cast<LPARAM>(&names), 0);
  ReleaseDC(nullptr, screen);
  std::vector<std::string> out;
  for (const auto& n : names) out.push_back(utf8(n));
  return out;
}

double Win32Host::timer_seconds() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

std::string Win32Host::today() {
  wchar_t text[128] = {};
  if (!GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128,
                       nullptr))
    return {};
  return utf8(text);
}

double Win32Host::twips_per_pixel() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? 1440.0 / dpi : 15.0;
}

int Win32Host::sizing_border_pixels() {
  return GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
}

void Win32Host::show_dialog(Dialog which) {
  if (!window_ || window_->closed()) return;
  run_dialog(window_->state(), *this, which, owner(), window_->twips_per_pixel());
  // The main window becomes active again: its activation steps run.
  window_->activate();
}

void Win32Host::close_main_window() {
  if (window_ && !window_->closed()) SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace zw::win32
