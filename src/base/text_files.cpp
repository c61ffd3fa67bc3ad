#include "base/text_files.h"

#include "base/failure.h"

namespace zw {

std::string not_a_file_message(const std::string& path) {
  return "Not read, as it is not a regular file: " + path;
}

namespace {

// The checks and messages of a read around read(error), which reads the file
// and says whether it could.
template <class Read>
bool read_checked(Host& host, const std::string& path, bool report, Read read) {
  auto& fs = host.fs();
  switch (fs.entry(path)) {
    case FileSystem::Entry::file:
      break;
    case FileSystem::Entry::other:
      ++host.unread_files;
      if (report) host.message(not_a_file_message(path));
      return false;
    default:
      return false;
  }
  auto size = fs.file_size(path);
  if (size > max_read_bytes) {
    ++host.unread_files;
    host.message(too_large_message(path, size));
    return false;
  }
  host.set_busy(true);
  std::string error;
  bool ok = read(error);
  host.do_events();
  host.set_busy(false);
  if (!ok) {
    ++host.unread_files;
    if (report) host.message(error);
  }
  return ok;
}

}  // namespace

std::optional<std::string> read_whole(Host& host, const std::string& path, bool report) {
  std::optional<std::string> data;
  read_checked(host, path, report, [&](std::string& error) {
    data = host.fs().read(path, error);
    return data.has_value();
  });
  return data;
}

bool read_in_pieces(Host& host, const std::string& path, bool report,
                    const std::function<void(std::string_view)>& piece) {
  return read_checked(host, path, report, [&](std::string& error) {
    return host.fs().read_pieces(path, error, piece);
  });
}

std::string loadtext(Host& host, const std::string& path) {
  return read_whole(host, path, true).value_or(std::string());
}

bool savetext(Host& host, const std::string& file, const std::string& buffer) {
  host.do_events();
  host.do_events();
  std::string error;
  bool ok = host.fs().write(file, buffer + "\r\n", error);
  if (!ok) {
    host.message(file + " " + error);
    return false;
  }
  host.do_events();
  return true;
}

}  // namespace zw
