#include "base/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/std_file_system.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zw {

namespace fs = std::filesystem;

std::string too_large_message(const std::string& path, std::int64_t size) {
  return "The file " + path + " is too large to read (" + std::to_string(size) +
         " bytes; the limit is " + std::to_string(max_read_bytes) + " bytes).";
}

namespace file_io {
namespace {

std::string cannot(const char* what, const std::string& path, const std::string& reason) {
  return std::string("Cannot ") + what + " " + path + ": " + reason;
}

// A name beside the target that no one else uses: a dot file, so that a
// leftover after a crash is hidden and matches no pattern the program lists.
std::string temporary_name(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  auto ticks =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  unsigned long long mix = ticks * 0x9E3779B97F4A7C15ULL + ++counter;
  // Cut, so that a long file name still leaves room for the rest.
  auto name = '.' + from_fs_path(target.filename()).substr(0, 100) + ".zw" +
              std::to_string(mix % 1000000007ULL) + ".tmp";
  return from_fs_path(target.parent_path() / to_fs_path(name));
}

Kind kind_of_status(const fs::file_status& st) {
  switch (st.type()) {
    case fs::file_type::not_found:
    case fs::file_type::none:
      return Kind::none;
    case fs::file_type::regular:
      return Kind::regular;
    case fs::file_type::directory:
      return Kind::folder;
    case fs::file_type::symlink:
      return Kind::link;
    case fs::file_type::fifo:
      return Kind::fifo;
    case fs::file_type::block:
    case fs::file_type::character:
      return Kind::device;
    case fs::file_type::socket:
      return Kind::socket;
    default:
      return Kind::other;
  }
}

std::string not_a_file(const std::string& path, Kind k) {
  return path + " is " + describe(k) + ", not a file";
}

// Refuses what a whole file cannot be written to: "" when path may be written.
std::string write_refusal(const std::string& path) {
  if (path.empty()) return "Cannot write a file without a name";
  Kind own = kind_of(path, false);
  if (own == Kind::none || own == Kind::regular) return {};
  if (own != Kind::link) return cannot("write", path, "it is " + describe(own) + ", not a file");
  // A link is replaced by the file, so only a link to something that must not
  // be replaced by a file is refused; a dangling one is replaced as well.
  Kind target = kind_of(path, true);
  if (target == Kind::none || target == Kind::regular) return {};
  return cannot("write", path, "it is a link to " + describe(target) + ", not a file");
}

#ifndef _WIN32

std::string errno_text(int e) {
  return std::strerror(e);
}

std::string refuse_read(const std::string& path, mode_t mode) {
  Kind k = S_ISDIR(mode)                    ? Kind::folder
           : S_ISFIFO(mode)                 ? Kind::fifo
           : S_ISCHR(mode) || S_ISBLK(mode) ? Kind::device
           : S_ISSOCK(mode)                 ? Kind::socket
                                            : Kind::other;
  return not_a_file(path, k);
}

#endif

}  // namespace

Kind kind_of(const std::string& path, bool follow_links) {
  if (path.empty()) return Kind::none;
  std::error_code ec;
  auto p = to_fs_path(path);
  auto st = follow_links ? fs::status(p, ec) : fs::symlink_status(p, ec);
  return kind_of_status(st);
}

std::string describe(Kind kind) {
  switch (kind) {
    case Kind::none:
      return "nothing";
    case Kind::regular:
      return "a file";
    case Kind::folder:
      return "a folder";
    case Kind::link:
      return "a link";
    case Kind::fifo:
      return "a named pipe";
    case Kind::device:
      return "a device";
    case Kind::socket:
      return "a socket";
    default:
      return "not a regular file";
  }
}

bool may_replace_whole(const std::string& path, std::string& error) {
  error = write_refusal(path);
  if (!error.empty()) return false;
  auto target = to_fs_path(path);
  auto folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    error = cannot("write", path, std::strerror(ENOENT));
    return false;
  }
#ifndef _WIN32
  // The new file is made in the folder; a read-only file is not replaced.
  struct stat old {};
  bool replacing = ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0 ||
      (replacing && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
    error = cannot("write", path, std::strerror(errno));
    return false;
  }
#else
  // Windows tells whether a folder takes new files (its access lists, a
  // protected program folder) only to one who tries.
  auto probe = to_fs_path(temporary_name(target));
  bool made = static_cast<bool>(std::ofstream(probe, std::ios::binary));
  fs::remove(probe, ec);
  if (!made) {
    error = cannot("write", path, std::strerror(EACCES));
    return false;
  }
#endif
  return true;
}

std::string real_path(const std::string& path) {
  if (path.empty()) return {};
  std::error_code ec;
  auto p = fs::weakly_canonical(fs::absolute(to_fs_path(path), ec), ec);
  return ec ? std::string() : from_fs_path(p);
}

#ifndef _WIN32

namespace {

// Opens a regular file (or a link to one) of at most limit bytes for reading:
// anything else is refused unopened, and the open never waits for a writer.
// -1 with error naming the file on failure; st is the open file's.
int open_regular(const std::string& path, std::int64_t limit, struct stat& st, std::string& error) {
  auto p = to_fs_path(path);
  // The type is checked before opening, so that a named pipe is never opened;
  // the open does not wait either, and the file opened is checked again.
  if (::stat(p.c_str(), &st) != 0) {
    error = cannot("open", path, errno_text(errno));
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    error = refuse_read(path, st.st_mode);
    return -1;
  }
  if (st.st_size > limit) {
    error = too_large_message(path, st.st_size);
    return -1;
  }
  int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = cannot("open", path, errno_text(errno));
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    error = S_ISREG(st.st_mode) ? cannot("read", path, errno_text(errno))
                                : refuse_read(path, st.st_mode);
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::optional<std::string> read_regular(const std::string& path, std::int64_t limit,
                                        std::string& error) {
  struct stat st {};
  int fd = open_regular(path, limit, st, error);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> data;
  // Read straight into the text. The size is only a hint: files of /proc
  // say 0, and a file may grow; a byte more is asked for to see the end.
  auto bound = static_cast<std::size_t>(limit) + 1;
  std::string text(
      std::min(static_cast<std::size_t>(std::max<std::int64_t>(st.st_size, 0)) + 1, bound), '\0');
  std::size_t held = 0;
  for (;;) {
    if (held == text.size())
      text.resize(std::min(held + std::max<std::size_t>(held / 2, 1 << 16), bound));
    ssize_t n = ::read(fd, text.data() + held, text.size() - held);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = cannot("read", path, errno_text(errno));
      break;
    }
    if (n == 0) {
      text.resize(held);
      data = std::move(text);
      break;
    }
    held += static_cast<std::size_t>(n);
    if (static_cast<std::int64_t>(held) > limit) {
      error = too_large_message(path, static_cast<std::int64_t>(held));
      break;
    }
  }
  ::close(fd);
  return data;
}

bool read_regular_pieces(const std::string& path, std::int64_t limit, std::string& error,
                         const std::function<void(std::string_view)>& piece) {
  struct stat st {};
  int fd = open_regular(path, limit, st, error);
  if (fd < 0) return false;
  // Closed however piece() ends.
  std::unique_ptr<int, void (*)(int*)> closing(&fd, [](int* open) { ::close(*open); });
  // One buffer, used again for every piece: it stays in the cache, where a
  // whole big file read at once would be fresh memory at every page.
  constexpr std::size_t piece_size = std::size_t{1} << 18;
  auto buffer = std::make_unique_for_overwrite<char[]>(piece_size);
  std::int64_t held = 0;
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer.get(), piece_size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) error = cannot("read", path, errno_text(errno));
      ok = n == 0;
      break;
    }
    held += n;
    if (held > limit) {
      error = too_large_message(path, held);
      ok = false;
      break;
    }
    piece(std::string_view(buffer.get(), static_cast<std::size_t>(n)));
  }
  return ok;
}

std::unique_ptr<NewFile> NewFile::start(const std::string& path, std::string& error) {
  error = write_refusal(path);
  if (!error.empty()) return nullptr;
  auto target = to_fs_path(path);
  struct stat old {};
  bool replacing = ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  // A rename would replace a file that its owner made read-only; as writing
  // into it would not, neither does this.
  if (replacing && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    error = cannot("write", path, errno_text(errno));
    return nullptr;
  }

  std::unique_ptr<NewFile> file(new NewFile);
  file->path_ = path;
  for (int attempt = 0; attempt < 100 && file->fd_ < 0; ++attempt) {
    file->temp_ = temporary_name(target);
    file->fd_ = ::open(to_fs_path(file->temp_).c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file->fd_ < 0 && errno != EEXIST) break;
  }
  if (file->fd_ < 0) {
    error = cannot("write", path, errno_text(errno));
    file->done_ = true;  // nothing was made
    return nullptr;
  }
  if (replacing) {
    // The new file takes the old one's place, so it takes its permissions and,
    // where allowed, its owner.
    (void)::fchmod(file->fd_, old.st_mode & 07777);
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
      (void)::fchown(file->fd_, old.st_uid, old.st_gid);
  }
  return file;
}

NewFile::~NewFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!done_) ::unlink(to_fs_path(temp_).c_str());
}

bool NewFile::write_at(std::uint64_t offset, std::string_view data, std::string& error) {
  const char* p = data.data();
  std::size_t left = data.size();
  while (left > 0 && fd_ >= 0) {
    ssize_t n = ::pwrite(fd_, p, left, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = cannot("write", path_, errno_text(n == 0 ? EIO : errno));
      return false;
    }
    p += n;
    offset += static_cast<std::uint64_t>(n);
    left -= static_cast<std::size_t>(n);
  }
  if (fd_ < 0) error = cannot("write", path_, errno_text(EBADF));
  return fd_ >= 0;
}

bool NewFile::commit(std::string& error) {
  if (fd_ < 0 || done_) {
    error = cannot("write", path_, errno_text(EBADF));
    return false;
  }
  bool ok = ::fsync(fd_) == 0;
  int saved = errno;
  if (::close(fd_) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  fd_ = -1;
  if (ok && ::rename(to_fs_path(temp_).c_str(), to_fs_path(path_).c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    error = cannot("write", path_, errno_text(saved));
    return false;
  }
  done_ = true;
  return true;
}

#else  // Windows: no named pipes or devices among files; links are rare.

bool read_regular_pieces(const std::string& path, std::int64_t limit, std::string& error,
                         const std::function<void(std::string_view)>& piece) {
  Kind k = kind_of(path, true);
  if (k != Kind::regular) {
    error = k == Kind::none ? cannot("open", path, "no such file") : not_a_file(path, k);
    return false;
  }
  std::ifstream in(to_fs_path(path), std::ios::binary);
  if (!in) {
    error = cannot("open", path, std::strerror(errno));
    return false;
  }
  constexpr std::size_t piece_size = std::size_t{1} << 18;
  auto buffer = std::make_unique_for_overwrite<char[]>(piece_size);
  std::int64_t held = 0;
  while (in.read(buffer.get(), piece_size) || in.gcount() > 0) {
    held += in.gcount();
    if (held > limit) {
      error = too_large_message(path, held);
      return false;
    }
    piece(std::string_view(buffer.get(), static_cast<std::size_t>(in.gcount())));
  }
  if (in.bad()) {
    error = cannot("read", path, "read error");
    return false;
  }
  return true;
}

std::optional<std::string> read_regular(const std::string& path, std::int64_t limit,
                                        std::string& error) {
  std::string data;
  if (!read_regular_pieces(path, limit, error, [&](std::string_view piece) { data += piece; }))
    return std::nullopt;
  return data;
}

std::unique_ptr<NewFile> NewFile::start(const std::string& path, std::string& error) {
  error = write_refusal(path);
  if (!error.empty()) return nullptr;
  std::unique_ptr<NewFile> file(new NewFile);
  file->path_ = path;
  file->temp_ = temporary_name(to_fs_path(path));
  file->out_ =
      std::make_unique<std::ofstream>(to_fs_path(file->temp_), std::ios::binary | std::ios::trunc);
  if (!*file->out_) {
    error = cannot("write", path, std::strerror(errno));
    return nullptr;
  }
  return file;
}

NewFile::~NewFile() {
  out_.reset();
  std::error_code ec;
  if (!done_) fs::remove(to_fs_path(temp_), ec);
}

bool NewFile::write_at(std::uint64_t offset, std::string_view data, std::string& error) {
  if (out_ && *out_) {
    out_->seekp(static_cast<std::streamoff>(offset));
    out_->write(data.data(), static_cast<std::streamsize>(data.size()));
  }
  if (out_ && *out_) return true;
  error = cannot("write", path_, std::strerror(errno));
  return false;
}

bool NewFile::commit(std::string& error) {
  if (!out_ || done_) {
    error = cannot("write", path_, std::strerror(EBADF));
    return false;
  }
  out_->close();
  bool ok = static_cast<bool>(*out_);
  std::string reason = std::strerror(errno);
  out_.reset();
  std::error_code ec;
  if (ok) {
    fs::rename(to_fs_path(temp_), to_fs_path(path_), ec);
    if (ec) ok = false, reason = ec.message();
  }
  if (!ok) {
    error = cannot("write", path_, reason);
    return false;
  }
  done_ = true;
  return true;
}

#endif

bool replace_whole(const std::string& path, const std::string& data, std::string& error) {
  auto file = NewFile::start(path, error);
  return file && file->write_at(0, data, error) && file->commit(error);
}

}  // namespace file_io
}  // namespace zw
