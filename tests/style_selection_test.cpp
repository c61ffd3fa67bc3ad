#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/paths.h"
#include "support/test_app.h"

namespace zw {
namespace {

// A style directory given on the command line becomes the style root (its
// parent) and the style name, however it is written.
TEST(StyleSelection, SplitsTheStyleDirectoryIntoRootAndName) {
  const std::string sep = paths::sep_text;
  struct Case {
    std::string dir, root, name;
  };
  const Case cases[] = {
      {"styles" + sep + "mine", "styles", "mine"},
      {"styles" + sep + "mine" + sep, "styles", "mine"},
      {"mine", ".", "mine"},  // a plain name: a style in the current directory
      {"." + sep + "mine", ".", "mine"},
  };
  for (const auto& c : cases) {
    test::TestApp app;
    select_style_dir(app.s, app.host, c.dir);
    EXPECT_EQ(app.s.style_root, c.root) << c.dir;
    EXPECT_EQ(app.s.style_name, c.name) << c.dir;
  }
}

}  // namespace
}  // namespace zw
