#pragma once
#include <functional>
#include <optional>
#include <string>

#include "model/state.h"
#include "platform/host.h"
#include "platform/surface.h"

namespace zw {

// Which names an image may be written under: a name with ".bmp" is a bitmap,
// one ending in ".png" a PNG; Save Image appends ".bmp" to a name without a
// dot, the batch front end takes no other name.
enum class ImageNames { save_image, bmp_or_png };

// The file an image goes to, and its format.
struct ImageTarget {
  std::string path;
  ImageFormat format = ImageFormat::bmp;
};

// The file a chosen name is written as, nullopt when the name's format is not
// one the rule allows.
std::optional<ImageTarget> image_target(const std::string& chosen, ImageNames rule);

// Everything that can refuse an image before anything is drawn: the format of
// the name ("Format not supported"), a folder that is missing or cannot be
// written, an existing file the user does not replace. nullopt when refused
// (the message is shown).
std::optional<ImageTarget> choose_image_target(Host& host, const std::string& chosen,
                                               ImageNames rule);

// Composes the chart image on p4: the scale strip p3 with its scale labels
// above the canvas p1, both at p1's width, as they are shown at this moment.
void compose_image(AppState& s, Host& host);

// How a canvas held in bands is drawn again for its image: band after band,
// band twips high, calling each once a band is on p1; false when it cannot.
// Without one, the canvas holds the chart of the analysis.
using BandDrawing = std::function<bool(int band, const std::function<void()>& each)>;

// Composes the image and writes it to the target. A canvas that could not be
// made writes nothing. True when the file was written; otherwise a message
// names the file and the reason.
bool write_image(AppState& s, Host& host, const ImageTarget& target, const BandDrawing& bands = {});

// Save Image after the file dialog, and the batch chart's image: the checks,
// then the composing and the writing. "" (a cancelled dialog) does nothing.
bool save_image(AppState& s, Host& host, const std::string& chosen_path,
                ImageNames rule = ImageNames::save_image, const BandDrawing& bands = {});

}  // namespace zw
