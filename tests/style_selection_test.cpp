#include <gtest/gtest.h>

#include "app/main_window.h"
#include "base/paths.h"
#include "support/test_app.h"

namespace zw {
namespace {

// A style directory given on the command line becomes the style root (its
// parent) and the style name, however it is written; a plain name is a style
// in the current directory.
TEST(StyleSelection, SplitsTheStyleDirectoryIntoRootAndName) {
  const std::string sep = paths::sep_text;
  for (const auto& dir : {"styles" + sep + "mine", "styles" + sep + "mine" + sep,
                          std::string("mine"), "." + sep + "mine"}) {
    test::TestApp app;
    select_style_dir(app.s, app.host, dir);
    EXPECT_EQ(app.s.style_root, dir[0] == 's' ? "styles" : ".") << dir;
    EXPECT_EQ(app.s.style_name, "mine") << dir;
  }
}

}  // namespace
}  // namespace zw
