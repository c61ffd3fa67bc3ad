#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/state.h"
#include "platform/headless/headless_host.h"
#include "support/recording_surface.h"
#include "support/test_app.h"

namespace zw::fuzz {

// One input's run of the program: a fresh state and a quiet scripted host over
// recording surfaces, in a directory kept for the whole fuzzing process so that
// the system directory and its category files are made once.
struct FuzzApp {
  FuzzApp();

  // The directory of the process (app/, styles/ below it).
  static test::TempDir& dir();
  // Writes a file below the process directory (relative, "/" separators).
  std::string write(const std::string& relative, const std::string& bytes);

  AppState s;
  HeadlessHost host;
  test::RecordingSurface p1, p2, p3, p4;
};

// The input as text, one character per byte.
inline std::string bytes(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// Splits at the first NUL: the part before and the part after it.
void split_at_nul(const std::string& in, std::string& first, std::string& rest);

}  // namespace zw::fuzz
