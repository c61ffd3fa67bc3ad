#include "platform/win32/file_watch.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace zw::win32 {
namespace {

constexpr const wchar_t* watch_class = L"ZoomwrightFileWatch";
// Without a notification, the files are compared every this many looks.
constexpr int compare_every = 20;

LRESULT CALLBACK watch_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    if (auto* watch = reinterpret_cast<Win32FileWatch*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      watch->look();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

std::wstring folder_of(const std::wstring& path) {
  auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring(L".") : path.substr(0, cut);
}

}  // namespace

Win32FileWatch::~Win32FileWatch() {
  stop();
  if (window_) DestroyWindow(window_);
}

Win32FileWatch::Stamp Win32FileWatch::stamp_of(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return {};
  return {true, data.ftLastWriteTime,
          (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow};
}

void Win32FileWatch::stop() {
  for (auto h : folders_) FindCloseChangeNotification(h);
  folders_.clear();
  files_.clear();
  unnotified_ = false;
  if (window_) KillTimer(window_, 1);
}

void Win32FileWatch::watch(const std::vector<std::string>& paths) {
  stop();
  std::vector<std::wstring> folders;
  for (const auto& p : paths) {
    if (p.empty()) continue;
    auto wide = shown(p);
    files_.push_back({p, wide, stamp_of(wide)});
    auto folder = folder_of(wide);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  if (files_.empty()) return;
  for (const auto& folder : folders) {
    HANDLE h = FindFirstChangeNotificationW(
        folder.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
    if (h == INVALID_HANDLE_VALUE)
      unnotified_ = true;
    else
      folders_.push_back(h);
  }
  if (!window_) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = watch_proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = watch_class;
      RegisterClassW(&wc);
      registered = true;
    }
    window_ = CreateWindowExW(0, watch_class, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  SetTimer(window_, 1, look_interval_ms, nullptr);
}

void Win32FileWatch::look() {
  bool compare = unnotified_ && ++ticks_ % compare_every == 0;
  for (auto h : folders_)
    if (WaitForSingleObject(h, 0) == WAIT_OBJECT_0) {
      FindNextChangeNotification(h);
      compare = true;
    }
  if (!compare) return;
  std::vector<std::string> touched;
  for (auto& f : files_) {
    auto now = stamp_of(f.wide);
    if (now == f.stamp) continue;
    f.stamp = now;
    touched.push_back(f.path);
  }
  // The list may change under a report (the chart redrawn follows anew).
  for (const auto& path : touched)
    if (changed) changed(path);
}

}  // namespace zw::win32
