#pragma once

namespace zw::qt {

// Fonts and painters need an application object. Runs without a window (the
// batch front end, tests) get one on the offscreen platform; a program that
// already has its application keeps it.
void ensure_app();

}  // namespace zw::qt
