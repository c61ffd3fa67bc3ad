#pragma once
#include <QFileSystemWatcher>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "platform/file_watch.h"

namespace zw::qt {

// Files followed with the system's notifications. Editors often save by
// writing a new file and renaming it over the old one, which ends the watch on
// the old file: the folders are watched too, and a followed file that appears
// again is watched again.
class QtFileWatch : public FileWatch {
 public:
  QtFileWatch();
  void watch(const std::vector<std::string>& paths) override;

 private:
  // What tells a save: whether the file is there, its time and size.
  struct Stamp {
    bool exists = false;
    qint64 modified = 0, size = -1;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp stamp_of(const QString& path);
  void folder_event(const QString& folder);
  void report(const QString& path);

  QFileSystemWatcher watcher_;
  std::map<QString, Stamp> followed_;  // by the path as given, with its last stamp
};

}  // namespace zw::qt
