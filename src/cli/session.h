#pragma once
#include <array>
#include <iosfwd>
#include <string>

#include "app/main_window.h"
#include "model/state.h"
#include "platform/headless/headless_host.h"

namespace zw::cli {

// One run of the program without a window: the state, the scripted host and
// the surfaces of the picture boxes.
class Session {
 public:
  // program_dir: the folder of the program file.
  Session(std::ostream& err, const std::string& program_dir);

  // Start-up as far as the CLI takes it: the system directory (the given one,
  // or the window program's, in its settings folder) with its default category
  // files, the constants, and the window laid out as start-up lays it out.
  void start(const std::string& system_dir);
  // Selects the style directory as start-up selects a restored style: its
  // parent is the style root, its name the style, and the styles are listed.
  void select_style(const std::string& style_dir);
  // A click on a kind box: the tick toggles, then the release handler runs.
  void click_kind(int kind);
  // Puts other drawing surfaces behind p1..p4 (the chart draws on real ones).
  void attach(Surface& p1, Surface& p2, Surface& p3, Surface& p4);

  AppState state;
  HeadlessHost host;

 private:
  std::array<BlankSurface, 4> blank_;
  PictureSurfaces surfaces_;
};

}  // namespace zw::cli
