// levels.dat (before the first NUL) and fonts.dat (after it), as start-up and
// activation read them.
#include "app/settings.h"
#include "fuzz_app.h"

using namespace zw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string levels, fonts;
  fuzz::split_at_nul(fuzz::bytes(data, size), levels, fonts);
  fuzz::FuzzApp app;
  app.write("app/levels.dat", levels);
  auto fonts_path = app.write("app/fonts.dat", fonts);
  loaddata(app.s, app.host);
  ldfnts(app.s, app.host, fonts_path);
  return 0;
}
