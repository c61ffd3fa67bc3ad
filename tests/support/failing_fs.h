#pragma once
#include <set>
#include <string>

#include "base/std_file_system.h"

namespace zw::test {

// The real file system, except that it refuses to read the files named in
// unreadable, to list the folders named in unlistable and to write anything
// below read_only_root, with the errors the system gives. Tests run as root on CI, where
// permissions stop nothing.
class FailingFileSystem : public StdFileSystem {
 public:
  std::set<std::string> unreadable, unlistable;
  std::string read_only_root;
  int refused_writes = 0;

  std::optional<std::string> read(const std::string& path, std::string& error) override;
  bool read_pieces(const std::string& path, std::string& error,
                   const std::function<void(std::string_view)>& piece) override;
  std::string list_error(const std::string& dir) override;
  std::vector<std::string> list_files(const std::string& dir, const std::string& pattern) override;
  std::vector<std::string> list_dirs(const std::string& dir) override;
  bool write(const std::string& path, const std::string& data, std::string& error) override;
  std::unique_ptr<FileOutput> start_write(const std::string& path, std::string& error) override;
  bool can_write(const std::string& path, std::string& error) override;
  bool create_dir(const std::string& path, std::string& error) override;
  bool copy_file(const std::string& from, const std::string& to, std::string& error) override;
  bool remove_file(const std::string& path) override;

 private:
  bool refused(const std::string& path, std::string& error, const char* what);
};

}  // namespace zw::test
