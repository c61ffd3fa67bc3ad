#pragma once
#include <filesystem>

#include "platform/file_system.h"

namespace zw {

// The one place where the program's UTF-8 path texts meet the file system.
std::filesystem::path to_fs_path(const std::string& utf8);
std::string from_fs_path(const std::filesystem::path& path);

// Matches a file name against a pattern of * and ?, ignoring ASCII case.
bool matches_pattern(const std::string& name, const std::string& pattern);

class StdFileSystem : public FileSystem {
 public:
  bool file_exists(const std::string& path) override;
  bool dir_exists(const std::string& path) override;
  Entry entry(const std::string& path) override;
  std::int64_t file_size(const std::string& path) override;
  std::vector<std::string> list_files(const std::string& dir, const std::string& pattern) override;
  std::vector<std::string> list_dirs(const std::string& dir) override;
  std::string list_error(const std::string& dir) override;
  std::optional<std::string> read(const std::string& path, std::string& error) override;
  bool read_pieces(const std::string& path, std::string& error,
                   const std::function<void(std::string_view)>& piece) override;
  bool write(const std::string& path, const std::string& data, std::string& error) override;
  std::unique_ptr<FileOutput> start_write(const std::string& path, std::string& error) override;
  bool can_write(const std::string& path, std::string& error) override;
  bool create_dir(const std::string& path, std::string& error) override;
  bool copy_file(const std::string& from, const std::string& to, std::string& error) override;
  bool remove_file(const std::string& path) override;
  bool is_link(const std::string& path) override;
  std::string real_path(const std::string& path) override;
};

}  // namespace zw
