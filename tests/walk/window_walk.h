#pragma once
#include "support/test_app.h"
#include "walk/window_driver.h"

namespace zw::walk {

// A walk through the real window as a user takes it, one step after the
// other: first start, styles, kinds and categories, the TYP file, the data
// file, images, the conversion, the dialogs, and a restart that restores the
// settings. Every binding's window takes the same walk; it stops at the first
// step that fails. Its files live in dir.
void walk_the_window(WindowDriver& d, const test::TempDir& dir);

}  // namespace zw::walk
