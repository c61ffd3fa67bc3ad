#include "platform/qt/file_watch.h"

#include <QFileInfo>
#include <set>

namespace zw::qt {

QtFileWatch::QtFileWatch() {
  QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged,
                   [this](const QString& path) { report(path); });
  QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged,
                   [this](const QString& folder) { folder_event(folder); });
}

QtFileWatch::Stamp QtFileWatch::stamp_of(const QString& path) {
  QFileInfo info(path);
  if (!info.exists()) return {};
  return {true, info.lastModified().toMSecsSinceEpoch(), info.size()};
}

void QtFileWatch::watch(const std::vector<std::string>& paths) {
  std::map<QString, Stamp> followed;
  std::set<QString> folders;
  for (const auto& p : paths) {
    auto path = QString::fromStdString(p);
    if (path.isEmpty()) continue;
    followed[path] = stamp_of(path);
    folders.insert(QFileInfo(path).absolutePath());
  }
  // The same list again (each Check sets it) keeps the watches as they are.
  bool same = followed.size() == followed_.size();
  for (auto a = followed.begin(), b = followed_.begin(); same && a != followed.end(); ++a, ++b)
    same = a->first == b->first;
  followed_ = std::move(followed);
  if (!same) {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    for (const auto& folder : folders)
      if (QFileInfo(folder).isDir()) watcher_.addPath(folder);
  }
  auto watched = watcher_.files();
  for (const auto& [path, stamp] : followed_)
    if (stamp.exists && !watched.contains(path)) watcher_.addPath(path);
}

void QtFileWatch::report(const QString& path) {
  auto found = followed_.find(path);
  if (found == followed_.end()) return;
  found->second = stamp_of(path);
  // A file replaced by a rename is a new file: its watch is made again.
  if (found->second.exists && !watcher_.files().contains(path)) watcher_.addPath(path);
  if (changed) changed(path.toStdString());
}

void QtFileWatch::folder_event(const QString& folder) {
  // Which followed file of the folder was made, replaced or removed.
  std::vector<QString> touched;
  for (const auto& [path, stamp] : followed_)
    if (QFileInfo(path).absolutePath() == folder && stamp_of(path) != stamp)
      touched.push_back(path);
  for (const auto& path : touched) report(path);
}

}  // namespace zw::qt
