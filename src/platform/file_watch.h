#pragma once
#include <functional>
#include <string>
#include <vector>

namespace zw {

// Follows files that other programs change (an editor saving a rule file).
class FileWatch {
 public:
  virtual ~FileWatch() = default;
  // Follows exactly these files from now on; an empty list follows none. A
  // file that does not exist yet is followed from its creation on.
  virtual void watch(const std::vector<std::string>& paths) = 0;
  // What the window calls, from its event loop, with the path (as given to
  // watch) of a file that was written, replaced, created or removed. Editors
  // save in several steps, so one save may call it several times.
  std::function<void(const std::string& path)> changed;
};

// For hosts that follow nothing (the batch front end).
class NoFileWatch : public FileWatch {
 public:
  void watch(const std::vector<std::string>&) override {}
};

// What a test plays: the list as last set, and changes fired by hand.
class RecordingFileWatch : public FileWatch {
 public:
  void watch(const std::vector<std::string>& list) override { paths = list; }
  void fire(const std::string& path) {
    if (changed) changed(path);
  }
  std::vector<std::string> paths;
};

}  // namespace zw
