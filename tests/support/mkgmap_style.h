#pragma once
#include <string>

#include "support/test_app.h"

namespace zw::test {

inline const std::string mkgmap_jar = "/usr/share/mkgmap/mkgmap.jar";
inline const std::string mkgmap_install_hint =
    " (run scripts/install-deps as root to install mkgmap, Java and unzip)";

// The default style as the installed mkgmap ships it, taken out of its jar
// into dir/styles/default. A fatal test failure when it cannot be.
void unpack_default_style(const TempDir& dir);

}  // namespace zw::test
