// A kind's category file, read into the category boxes and then used by a click
// on each box.
#include "fuzz_app.h"
#include "app/check_handlers.h"
#include "levels/categories.h"

using namespace zw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzApp app;
  auto path = app.write("app/cats.txt", fuzz::bytes(data, size));
  loadop(app.s, app.host, path, "lines");
  for (int i = 0; i < static_cast<int>(app.s.f1.Check1.size()); ++i) {
    auto& box = app.s.f1.Check1.at(static_cast<std::size_t>(i));
    box.value = box.value ? 0 : 1;
    Check1_MouseUp(app.s, app.host, i);
  }
  return 0;
}
