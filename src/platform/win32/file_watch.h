#pragma once
#include <string>
#include <vector>

#include "platform/file_watch.h"
#include "platform/win32/win32_api.h"

namespace zw::win32 {

// Files followed with the folders' change notifications: a small window of its
// own looks at them from the message loop every few milliseconds and compares
// the followed files' times and sizes when a folder has changed.
class Win32FileWatch : public FileWatch {
 public:
  Win32FileWatch() = default;
  ~Win32FileWatch() override;
  Win32FileWatch(const Win32FileWatch&) = delete;
  Win32FileWatch& operator=(const Win32FileWatch&) = delete;

  void watch(const std::vector<std::string>& paths) override;
  // Reports the followed files changed since the last look.
  void look();

  static constexpr UINT look_interval_ms = 25;

 private:
  struct Stamp {
    bool exists = false;
    FILETIME written{};
    unsigned long long size = 0;
    bool operator==(const Stamp& o) const {
      return exists == o.exists && size == o.size && CompareFileTime(&written, &o.written) == 0;
    }
  };
  struct Followed {
    std::string path;
    std::wstring wide;
    Stamp stamp;
  };
  static Stamp stamp_of(const std::wstring& path);
  void stop();

  std::vector<Followed> files_;
  std::vector<HANDLE> folders_;  // one change notification per folder
  bool unnotified_ = false;      // a folder gives no notification: its files are compared
  int ticks_ = 0;
  HWND window_ = nullptr;
};

}  // namespace zw::win32
