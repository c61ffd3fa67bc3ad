#include "base/text_files.h"

#include "base/failure.h"

namespace zw {

std::string not_a_file_message(const std::string& path) {
  return "Not read, as it is not a regular file: " + path;
}

std::optional<std::string> read_whole(Host& host, const std::string& path, bool report) {
  auto& fs = host.fs();
  switch (fs.entry(path)) {
    case FileSystem::Entry::file:
      break;
    case FileSystem::Entry::other:
      ++host.unread_files;
      if (report) host.message(not_a_file_message(path));
      return std::nullopt;
    default:
      return std::nullopt;
  }
  auto size = fs.file_size(path);
  if (size > max_read_bytes) {
    ++host.unread_files;
    host.message(too_large_message(path, size));
    return std::nullopt;
  }
  host.set_busy(true);
  std::string error;
  auto data = fs.read(path, error);
  host.do_events();
  host.set_busy(false);
  if (!data) {
    ++host.unread_files;
    if (report) host.message(error);
  }
  return data;
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
