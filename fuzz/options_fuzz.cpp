// A style's options file: the level reader, the scale labels it colours and the
// level lookups that the conversion uses.
#include "fuzz_app.h"
#include "levels/options_file.h"

using namespace zw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzApp app;
  auto dir = app.write("styles/opt/options", fuzz::bytes(data, size));
  dir = dir.substr(0, dir.size() - std::string("options").size());
  get_levels(app.s, app.host, dir);
  for (const char* r : {"24", "23", "18", "0", "30", "-1", "", "x", "16-24", "24-16", "1-"}) {
    chklev(app.s, r);
    convertrl(app.s, r);
  }
  return 0;
}
