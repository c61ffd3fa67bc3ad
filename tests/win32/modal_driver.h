#pragma once
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/win32_api.h"
#include "walk/window_driver.h"

namespace zw::test {

// Plays the user in the modal windows the program opens on this thread
// (message boxes, the common dialogs, the program's own dialogs): each window
// that comes up gets the next act of the script, as the messages a user's
// clicks and keys send. A message box with only OK that the script does not
// expect is answered OK, any other window cancelled; either is noted, so that
// a test never hangs.
class ModalDriver {
 public:
  using Act = std::function<void(HWND window)>;

  ModalDriver();
  ~ModalDriver();
  ModalDriver(const ModalDriver&) = delete;
  ModalDriver& operator=(const ModalDriver&) = delete;

  // The next window that comes up gets this act.
  void then(Act act) { script_.push_back(std::move(act)); }
  bool done() const { return script_.empty(); }
  std::size_t waiting() const { return script_.size(); }

  // Acts of a user.
  static Act press(int id);                            // a button: IDOK, IDYES, IDNO ...
  static Act type_file_name(const std::string& path);  // a file dialog: the name, then OK
  static Act choose_folder(const std::string& path);   // the folder chooser: select, then OK

  // Every window that came up, in order.
  std::vector<walk::ModalSeen> seen;
  // Windows that came up with no act in the script.
  std::vector<std::string> unexpected;

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
  void poll();

  std::deque<Act> script_;
  std::set<HWND> handled_;
  UINT_PTR timer_ = 0;
  bool acting_ = false;
};

// A message box's buttons and the answers they give.
inline constexpr std::pair<int, Answer> message_buttons[] = {
    {IDOK, Answer::ok}, {IDYES, Answer::yes}, {IDNO, Answer::no}, {IDCANCEL, Answer::cancel}};

// Lets the thread's messages run for a while (timers and posted messages too).
void pump_for(int ms);

// The text of a window or control, as UTF-8.
std::string text_of(HWND window);

// A path of this machine as Windows writes it (drive letter, backslashes).
std::string windows_path(const std::string& path);

}  // namespace zw::test
