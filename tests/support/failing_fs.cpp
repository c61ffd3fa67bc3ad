#include "support/failing_fs.h"

namespace zw::test {

bool FailingFileSystem::refused(const std::string& path, std::string& error, const char* what) {
  if (read_only_root.empty() || path.rfind(read_only_root, 0) != 0) return false;
  ++refused_writes;
  // Worded as the real file system words it: the file, then the reason.
  error = std::string("Cannot ") + what + " " + path + ": Read-only file system";
  return true;
}

std::optional<std::string> FailingFileSystem::read(const std::string& path, std::string& error) {
  if (unreadable.count(path)) {
    error = "Cannot open " + path + ": Permission denied";
    return std::nullopt;
  }
  return StdFileSystem::read(path, error);
}

bool FailingFileSystem::read_pieces(const std::string& path, std::string& error,
                                    const std::function<void(std::string_view)>& piece) {
  // As read refuses: the pieces are what read gives.
  return FileSystem::read_pieces(path, error, piece);
}

std::string FailingFileSystem::list_error(const std::string& dir) {
  if (unlistable.count(dir)) return "cannot read the folder " + dir + ": Permission denied";
  return StdFileSystem::list_error(dir);
}

std::vector<std::string> FailingFileSystem::list_files(const std::string& dir,
                                                       const std::string& pattern) {
  if (unlistable.count(dir)) return {};
  return StdFileSystem::list_files(dir, pattern);
}

std::vector<std::string> FailingFileSystem::list_dirs(const std::string& dir) {
  if (unlistable.count(dir)) return {};
  return StdFileSystem::list_dirs(dir);
}

bool FailingFileSystem::write(const std::string& path, const std::string& data,
                              std::string& error) {
  return !refused(path, error, "write") && StdFileSystem::write(path, data, error);
}

std::unique_ptr<FileOutput> FailingFileSystem::start_write(const std::string& path,
                                                           std::string& error) {
  return refused(path, error, "write") ? nullptr : StdFileSystem::start_write(path, error);
}

bool FailingFileSystem::can_write(const std::string& path, std::string& error) {
  if (!read_only_root.empty() && path.rfind(read_only_root, 0) == 0) {
    error = "Read-only file system";
    return false;
  }
  return StdFileSystem::can_write(path, error);
}

bool FailingFileSystem::create_dir(const std::string& path, std::string& error) {
  return !refused(path, error, "create the folder") && StdFileSystem::create_dir(path, error);
}

bool FailingFileSystem::copy_file(const std::string& from, const std::string& to,
                                  std::string& error) {
  return !refused(to, error, "write") && StdFileSystem::copy_file(from, to, error);
}

bool FailingFileSystem::remove_file(const std::string& path) {
  std::string error;
  return !refused(path, error, "remove") && StdFileSystem::remove_file(path);
}

}  // namespace zw::test
