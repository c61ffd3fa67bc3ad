#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zw {

// A file being made piece by piece (an image drawn band by band). Nothing is
// in place until commit(); dropped without it, nothing is left behind.
class FileOutput {
 public:
  virtual ~FileOutput() = default;
  // Puts data at offset; throws (naming the file) when it cannot.
  virtual void write_at(std::uint64_t offset, std::string_view data) = 0;
  // Makes the file the whole content of its path; false and error (naming the
  // file) on failure.
  virtual bool commit(std::string& error) = 0;
};

// A file made in memory; commit() hands the bytes on.
class StringOutput : public FileOutput {
 public:
  explicit StringOutput(std::function<bool(const std::string&, std::string&)> put = {})
      : put_(std::move(put)) {}
  void write_at(std::uint64_t offset, std::string_view data) override {
    auto at = static_cast<std::size_t>(offset);
    if (bytes.size() < at + data.size()) bytes.resize(at + data.size());
    bytes.replace(at, data.size(), data);
  }
  bool commit(std::string& error) override { return !put_ || put_(bytes, error); }
  std::string bytes;

 private:
  std::function<bool(const std::string&, std::string&)> put_;
};

// The file system as the program uses it. Paths are UTF-8 text.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool file_exists(const std::string& path) = 0;
  virtual bool dir_exists(const std::string& path) = 0;

  // What a path names, links followed. `other` is neither a regular file nor
  // a folder (a named pipe, a device), or a file of the system's own tables
  // (such as /proc), whose size says nothing of what reading it gives.
  enum class Entry { none, file, folder, other };
  virtual Entry entry(const std::string& path) = 0;
  // Size in bytes, or -1 when there is no such file.
  virtual std::int64_t file_size(const std::string& path) = 0;
  // Names (not paths) of the files in dir that match a pattern with * and ?,
  // compared ignoring case, in name order.
  virtual std::vector<std::string> list_files(const std::string& dir,
                                              const std::string& pattern) = 0;
  // Why the files of a folder cannot be listed (naming it); "" when they can.
  virtual std::string list_error(const std::string& dir) {
    (void)dir;
    return {};
  }
  // Full paths of the subdirectories of dir, in name order.
  virtual std::vector<std::string> list_dirs(const std::string& dir) = 0;
  // The whole content, one character per byte; nullopt and error set on
  // failure. Only a regular file (or a link to one) no larger than the
  // program's read limit is read; a named pipe or device is refused unopened.
  virtual std::optional<std::string> read(const std::string& path, std::string& error) = 0;
  // The same content handed to piece() a piece at a time, in order, so that
  // a big file need not be held whole; false and error set as read sets them
  // (after the pieces read before a failure). Unless a file system does
  // better, the whole file is one piece.
  virtual bool read_pieces(const std::string& path, std::string& error,
                           const std::function<void(std::string_view)>& piece) {
    auto data = read(path, error);
    if (data) piece(*data);
    return data.has_value();
  }
  // Makes data the whole content of the file: written beside it and renamed
  // into place, so a failure leaves the old file (or none). A link there is
  // replaced, not written through; a folder, named pipe or device there (or a
  // link to one) is refused. false and error (naming the file) on failure.
  virtual bool write(const std::string& path, const std::string& data, std::string& error) = 0;
  // Starts a file that is written as write writes it, but piece by piece:
  // nullptr and error on failure. Unless a file system does better, the
  // pieces are gathered in memory and written on commit.
  virtual std::unique_ptr<FileOutput> start_write(const std::string& path, std::string& error) {
    (void)error;
    return std::make_unique<StringOutput>(
        [this, path](const std::string& data, std::string& why) { return write(path, data, why); });
  }
  // Whether write could create or replace the file (its folder exists and may
  // be written, the path is no folder); false and error set as write sets it.
  virtual bool can_write(const std::string& path, std::string& error) = 0;
  virtual bool create_dir(const std::string& path, std::string& error) = 0;
  // A read followed by a write, with the rules of both.
  virtual bool copy_file(const std::string& from, const std::string& to, std::string& error) = 0;
  virtual bool remove_file(const std::string& path) = 0;
  // Whether the last part of the path is a symbolic link (dangling or not).
  virtual bool is_link(const std::string& path) = 0;
  // The absolute path with links, "." and ".." resolved as far as it exists;
  // "" when it cannot be resolved.
  virtual std::string real_path(const std::string& path) = 0;
};

}  // namespace zw
