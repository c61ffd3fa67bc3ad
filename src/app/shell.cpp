#include "app/shell.h"

#include "app/failure.h"

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

std::string cannot_open_message(const std::string& what, const std::string& path) {
  return "Cannot open " + what + ": no program could be started for it.\r\n\r\nThe file is " + path;
}

void open_document(Host& host, const std::string& path, bool edit, const std::string& what, int line) {
  bool opened = false;
  attempt_quietly([&] { opened = edit ? host.edit_text_file(path, line) : host.shell_open(path); });
  if (!opened) host.message(cannot_open_message(what, path));
}

void cap(AppState& s, const std::string&) {
  s.f1.caption = "Zoomwright " + s.app_version + " " + s.style_name;
}

void msg(AppState& s, Host& host, const std::string& text) {
  host.canvas_text(text);
  attempt_quietly([&] {
    auto& canvas = s.f1.p1.draw();
    canvas.move_to(1000, 1000);
    canvas.print(text, true);
  });
}

}  // namespace zw
