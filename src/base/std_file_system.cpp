#include "base/std_file_system.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

#include "base/file_io.h"
#include "base/text.h"

#ifdef __linux__
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

namespace zw {

namespace fs = std::filesystem;

fs::path to_fs_path(const std::string& utf8) {
  std::u8string u(utf8.begin(), utf8.end());
  return fs::path(u);
}

std::string from_fs_path(const fs::path& path) {
  auto u = path.u8string();
  return std::string(u.begin(), u.end());
}

bool matches_pattern(const std::string& name, const std::string& pattern) {
  // Iterative wildcard match with one backtrack point: linear enough for names.
  std::string n = text::lower(name), p = text::lower(pattern);
  std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
  while (i < n.size()) {
    if (j < p.size() && (p[j] == '?' || p[j] == n[i])) {
      ++i, ++j;
    } else if (j < p.size() && p[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == '*') ++j;
  return j == p.size();
}

bool StdFileSystem::file_exists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_regular_file(to_fs_path(path), ec);
}

bool StdFileSystem::dir_exists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(to_fs_path(path), ec);
}

namespace {

// Whether a file lies on one of the file systems through which the kernel
// shows its own tables: their files claim a size of 0, and some block a read.
bool on_system_tables([[maybe_unused]] const fs::path& p) {
#ifdef __linux__
  struct statfs info {};
  if (statfs(p.c_str(), &info) != 0) return false;
  switch (static_cast<unsigned long>(info.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case DEVPTS_SUPER_MAGIC:
    case BPF_FS_MAGIC:
      return true;
  }
#endif
  return false;
}

}  // namespace

FileSystem::Entry StdFileSystem::entry(const std::string& path) {
  switch (file_io::kind_of(path, true)) {
    case file_io::Kind::none:
      return Entry::none;
    case file_io::Kind::folder:
      return Entry::folder;
    case file_io::Kind::regular:
      return on_system_tables(to_fs_path(path)) ? Entry::other : Entry::file;
    default:
      return Entry::other;
  }
}

std::int64_t StdFileSystem::file_size(const std::string& path) {
  std::error_code ec;
  auto p = to_fs_path(path);
  if (!fs::is_regular_file(p, ec)) return -1;
  auto size = fs::file_size(p, ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

std::vector<std::string> StdFileSystem::list_files(const std::string& dir,
                                                   const std::string& pattern) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(to_fs_path(dir), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    auto name = from_fs_path(it->path().filename());
    if (matches_pattern(name, pattern)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> StdFileSystem::list_dirs(const std::string& dir) {
  std::vector<std::pair<std::string, std::string>> found;  // (lower-case name, path)
  std::error_code ec;
  fs::directory_iterator it(to_fs_path(dir), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    if (!it->is_directory(type_ec)) continue;
    found.emplace_back(text::lower(from_fs_path(it->path().filename())), from_fs_path(it->path()));
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (auto& f : found) paths.push_back(f.second);
  return paths;
}

std::string StdFileSystem::list_error(const std::string& dir) {
  std::error_code ec;
  fs::directory_iterator it(to_fs_path(dir), ec);
  if (!ec) return {};
  return "cannot read the folder " + dir + ": " + ec.message();
}

std::optional<std::string> StdFileSystem::read(const std::string& path, std::string& error) {
  return file_io::read_regular(path, max_read_bytes, error);
}

bool StdFileSystem::read_pieces(const std::string& path, std::string& error,
                                const std::function<void(std::string_view)>& piece) {
  return file_io::read_regular_pieces(path, max_read_bytes, error, piece);
}

bool StdFileSystem::write(const std::string& path, const std::string& data, std::string& error) {
  return file_io::replace_whole(path, data, error);
}

namespace {

// A file on disk made piece by piece; a failed piece is thrown.
class DiskOutput : public FileOutput {
 public:
  explicit DiskOutput(std::unique_ptr<file_io::NewFile> file) : file_(std::move(file)) {}
  void write_at(std::uint64_t offset, std::string_view data) override {
    std::string error;
    if (!file_->write_at(offset, data, error)) throw std::runtime_error(error);
  }
  bool commit(std::string& error) override { return file_->commit(error); }

 private:
  std::unique_ptr<file_io::NewFile> file_;
};

}  // namespace

std::unique_ptr<FileOutput> StdFileSystem::start_write(const std::string& path,
                                                       std::string& error) {
  auto file = file_io::NewFile::start(path, error);
  if (!file) return nullptr;
  return std::make_unique<DiskOutput>(std::move(file));
}

bool StdFileSystem::can_write(const std::string& path, std::string& error) {
  return file_io::may_replace_whole(path, error);
}

bool StdFileSystem::create_dir(const std::string& path, std::string& error) {
  std::error_code ec;
  fs::create_directory(to_fs_path(path), ec);
  if (ec) {
    error = "Cannot create the folder " + path + ": " + ec.message();
    return false;
  }
  return true;
}

bool StdFileSystem::copy_file(const std::string& from, const std::string& to, std::string& error) {
  // Read whole and written whole: a named pipe or a device is never copied,
  // and a link at the target is replaced rather than written through.
  auto data = file_io::read_regular(from, max_read_bytes, error);
  return data && file_io::replace_whole(to, *data, error);
}

bool StdFileSystem::remove_file(const std::string& path) {
  std::error_code ec;
  return fs::remove(to_fs_path(path), ec);
}

bool StdFileSystem::is_link(const std::string& path) {
  return file_io::kind_of(path, false) == file_io::Kind::link;
}

std::string StdFileSystem::real_path(const std::string& path) {
  return file_io::real_path(path);
}

}  // namespace zw
