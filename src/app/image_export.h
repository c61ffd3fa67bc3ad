#pragma once
#include <optional>
#include <string>

#include "app/state.h"
#include "platform/host.h"
#include "platform/surface.h"

namespace zw {

// Composes the chart image on p4: the scale strip p3 above the canvas p1, both
// at p1's width, as they are drawn at this moment.
void compose_image(AppState& s, Host& host);

// The name Save Image writes a chosen name under: unchanged when it contains
// ".bmp" in any case, with ".bmp" appended when it has no dot at all; nullopt
// when it names another format.
std::optional<std::string> bmp_file_name(const std::string& chosen);

// Asks "Replace file?" when the file exists; true when it may be written.
bool may_replace(Host& host, const std::string& path);

// A Windows bitmap file of the image: file and information headers, 24 bits
// per pixel, rows bottom-up and padded to four bytes.
std::string encode_bmp(const Image& image, double twips_per_pixel = 15);

// Save Image after the file dialog: composes the image and writes it as a BMP
// file under the name the rules give. "" (a cancelled dialog) does nothing.
// True when the file was written.
bool save_image(AppState& s, Host& host, const std::string& chosen_path);

}  // namespace zw
