#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "platform/host.h"

namespace zw {

// The whole content of a regular file (or a link to one), one character per
// byte; nullopt when there is none. A file above max_read_bytes is refused
// with a message. Anything else there but a folder (a named pipe, a device, a
// file of the system's tables) is refused unopened, and a failing read gives
// nullopt; both are shown only when `report` is set. Each file found but not
// read is counted in host.unread_files.
std::optional<std::string> read_whole(Host& host, const std::string& path, bool report);

// The same file, with the same refusals and messages, handed to piece() a
// piece at a time, so that a big file is never held whole. Whether it was
// read to its end.
bool read_in_pieces(Host& host, const std::string& path, bool report,
                    const std::function<void(std::string_view)>& piece);

// The whole content of a file, one character per byte; "" when there is no
// such file, or when it cannot be read (shown, naming the file and why).
std::string loadtext(Host& host, const std::string& path);
// Writes buffer followed by CR LF; a failure is shown as file + " " + description.
// Returns whether the file was written.
bool savetext(Host& host, const std::string& file, const std::string& buffer);

// The refusal shown for a path that names something other than a file.
std::string not_a_file_message(const std::string& path);

}  // namespace zw
