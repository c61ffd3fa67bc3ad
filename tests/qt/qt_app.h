#pragma once
#include "platform/qt/raster_app.h"

namespace zw::test {

// Fonts and painters need one application object; every Qt test shares it.
inline void ensure_qt_app() { qt::ensure_app(); }

}  // namespace zw::test
