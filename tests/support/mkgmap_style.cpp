#include "support/mkgmap_style.h"

#include <gtest/gtest.h>

#include "support/cli_runner.h"

namespace zw::test {

void unpack_default_style(const TempDir& dir) {
  auto r = run_program({"unzip", "-q", mkgmap_jar, "styles/default/*", "-d", dir.path()});
  ASSERT_EQ(r.status, 0) << "cannot unpack the default style from " << mkgmap_jar << ": " << r.err
                         << mkgmap_install_hint;
}

}  // namespace zw::test
