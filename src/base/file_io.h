#pragma once
#include <cstdint>
#include <iosfwd>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zw {

// The largest file the program reads: two pieces of 48,673,404 bytes.
inline constexpr std::int64_t max_read_bytes = 2LL * 48'673'404 - 1;

// The refusal shown for a file that is too large to read.
std::string too_large_message(const std::string& path, std::int64_t size);

// Reading and writing whole files so that a hostile folder cannot hang the
// program or make it write where it should not. Paths are UTF-8 text.
namespace file_io {

// What a path names. A link is only ever reported when links are not followed.
enum class Kind { none, regular, folder, link, fifo, device, socket, other };

Kind kind_of(const std::string& path, bool follow_links);
// "a folder", "a named pipe", ... for messages.
std::string describe(Kind kind);

// The whole content of a regular file (or of a link to one), at most limit
// bytes. Anything else is refused unopened, and nothing is opened in a way
// that could wait for a writer. nullopt with error naming the file on failure.
std::optional<std::string> read_regular(const std::string& path, std::int64_t limit,
                                        std::string& error);

// The same file handed to piece() a piece at a time, in order, so that a big
// file is never held whole; false with error naming the file on failure
// (after the pieces read before it).
bool read_regular_pieces(const std::string& path, std::int64_t limit, std::string& error,
                         const std::function<void(std::string_view)>& piece);

// Writes data as the whole new content of path: into a new file beside it,
// then renamed over it, so that the path holds either its old content or all
// of data. A link at path is replaced, never written through; a folder, named
// pipe or device there (or a link to one) is refused. A file replaced keeps
// its permissions. false with error naming the file and the reason on failure;
// the old file then stays as it was.
bool replace_whole(const std::string& path, const std::string& data, std::string& error);

// A file made piece by piece as replace_whole makes it: written beside path,
// renamed over it by commit(), with the same refusals. Dropped without a
// commit, the file beside path is removed and path stays as it was.
class NewFile {
 public:
  // nullptr with error naming the file when it cannot be started.
  static std::unique_ptr<NewFile> start(const std::string& path, std::string& error);
  ~NewFile();
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;

  // Puts data at offset; false with error naming the file on failure.
  bool write_at(std::uint64_t offset, std::string_view data, std::string& error);
  // Puts the file in place of path; false with error on failure.
  bool commit(std::string& error);

 private:
  NewFile() = default;
  std::string path_, temp_;
  int fd_ = -1;                         // where files have descriptors
  std::unique_ptr<std::ofstream> out_;  // on Windows
  bool done_ = false;
};

// Whether replace_whole would write path, asked before the data is made: its
// refusals, a folder that is missing or cannot be written, a read-only file.
// false with error as replace_whole would set it.
bool may_replace_whole(const std::string& path, std::string& error);

// The path with links, "." and ".." resolved as far as it exists; the rest is
// appended as written. "" when it cannot be resolved.
std::string real_path(const std::string& path);

}  // namespace file_io
}  // namespace zw
