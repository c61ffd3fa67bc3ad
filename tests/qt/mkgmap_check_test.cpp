// mkgmap's own style check, run on a style and on the copy that "convert"
// writes of it: the copy must not get more errors or warnings than its source.
// mkgmap is a test dependency; without it these tests fail, they never skip.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "app/files.h"
#include "app/text.h"
#include "support/cli_runner.h"
#include "support/mkgmap_style.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::run_program;

using test::mkgmap_jar;
const std::string install_hint = test::mkgmap_install_hint;

// What mkgmap --check-styles reported for one style, by kind of line.
struct StyleCheck {
  bool ran = false;    // mkgmap started and came to the end of its check
  bool opened = true;  // mkgmap found and read the style
  int errors = 0;
  int warnings = 0;
  int unknown = 0;  // lines of no known form, counted against the style too
  std::string printed;
};

// mkgmap exits with 0 whatever it finds in a style; only what it prints
// tells. Warnings go to standard output ("Warning: ... style file lines,
// line 24"), errors to standard error ("SEVERE (global): Error in style:
// ..."), and a style that is missing or fails to load gets "could not open
// style NAME". "checking style: NAME" comes only when the root holds more
// than one style.
StyleCheck check_style(const std::string& root, const std::string& name, const std::string& workdir) {
  auto r = run_program({"mkgmap", "--style-file=" + root, "--style=" + name, "--check-styles"}, workdir);
  StyleCheck c;
  c.printed = "exit status " + std::to_string(r.status) + "\n" + r.out + r.err;
  if (r.status != 0) ++c.errors;
  for (auto line : text::split(r.out + "\n" + r.err, "\n")) {
    line = text::trim(text::before(line + "\r", "\r"));
    auto lower = text::lower(line);
    if (line == "finished check-styles") {
      c.ran = r.status == 0;
      continue;
    }
    // The Debian wrapper names the Java it starts; mkgmap names the style it
    // checks, or says that it found only one.
    if (line.empty() || (text::starts_with(line, "Using ") && text::contains(line, " to execute mkgmap")) ||
        line == "checking style: " + name || text::starts_with(line, "Found one style in "))
      continue;
    if (text::starts_with(lower, "could not open style")) c.opened = false;
    if (text::contains(lower, "severe") || text::contains(lower, "error") || text::contains(lower, "could not"))
      ++c.errors;
    else if (text::contains(lower, "warning"))
      ++c.warnings;
    else
      ++c.unknown;
  }
  return c;
}

void require_mkgmap() {
  ASSERT_TRUE(test::on_path("mkgmap")) << "mkgmap is not installed" << install_hint;
  ASSERT_TRUE(test::on_path("java")) << "no Java runtime is installed" << install_hint;
  ASSERT_TRUE(test::on_path("unzip")) << "unzip is not installed" << install_hint;
  ASSERT_TRUE(std::filesystem::exists(mkgmap_jar)) << mkgmap_jar << " is missing" << install_hint;
}

void copy_example(const test::TempDir& dir) {
  std::filesystem::create_directories(to_fs_path(dir.at("styles")));
  std::filesystem::copy(to_fs_path(std::string(ZW_SOURCE_DIR) + "/examples/styles/example"),
                        to_fs_path(dir.at("styles/example")), std::filesystem::copy_options::recursive);
}

struct Source {
  const char* label;
  const char* name;
  std::function<void(const test::TempDir&)> put;
};

TEST(MkgmapCheck, ConvertedStylesPassAsWellAsTheirSources) {
  require_mkgmap();
  if (HasFatalFailure()) return;
  const Source sources[] = {
      {"the example style", "example", copy_example},
      {"mkgmap's default style", "default", test::unpack_default_style},
  };
  for (const auto& source : sources) {
    SCOPED_TRACE(source.label);
    auto started = std::chrono::steady_clock::now();
    test::TempDir dir;
    source.put(dir);
    if (HasFatalFailure()) return;
    auto root = dir.at("styles");
    ASSERT_TRUE(std::filesystem::exists(to_fs_path(root + "/" + source.name + "/lines")));

    auto converted = test::run_cli(
        {"convert", root + "/" + source.name, "levels", "--system-dir", dir.at("system")});
    ASSERT_EQ(converted.status, 0) << converted.err;
    ASSERT_FALSE(text::contains(dir.read("styles/levels/lines"), "resolution "));

    auto before = check_style(root, source.name, dir.path());
    auto after = check_style(root, "levels", dir.path());
    // A check that did not run (no Java, say) finds nothing wrong in either.
    ASSERT_TRUE(before.ran && after.ran) << before.printed << after.printed << install_hint;
    EXPECT_TRUE(before.opened) << before.printed;
    EXPECT_TRUE(after.opened) << after.printed;
    EXPECT_LE(after.errors, before.errors) << "source:\n" << before.printed << "converted:\n" << after.printed;
    EXPECT_LE(after.warnings, before.warnings) << "source:\n" << before.printed << "converted:\n" << after.printed;
    EXPECT_LE(after.unknown, before.unknown) << "source:\n" << before.printed << "converted:\n" << after.printed;
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << source.label << ": checked in " << seconds << " s; source " << before.errors
              << " errors, " << before.warnings << " warnings; converted " << after.errors << " errors, "
              << after.warnings << " warnings\n";
  }
}

// The counting itself, on styles that mkgmap warns about or refuses: a check
// that counted nothing would let every converted style pass.
TEST(MkgmapCheck, CountsTheErrorsAndWarningsMkgmapPrints) {
  require_mkgmap();
  if (HasFatalFailure()) return;
  test::TempDir dir;
  // Without a version file mkgmap does not take a folder for a style.
  for (const char* style : {"warned", "faulty"}) dir.write(std::string("styles/") + style + "/version", "0\n");
  dir.write("styles/warned/options", "levels = 0:24, 1:22\n");
  dir.write("styles/warned/lines", "highway=a [0x01 resolution 99]\nhighway=b [0x01 resolution 22]\n");
  dir.write("styles/faulty/options", "levels = 0:24, 1:22\n");
  dir.write("styles/faulty/lines", "highway=a [0x01 level 9]\n");
  struct Case {
    const char* name;
    bool opened;
    bool errors;
    bool warnings;
  };
  const Case cases[] = {
      {"warned", true, false, true},
      {"faulty", false, true, false},
  };
  for (const auto& c : cases) {
    auto r = check_style(dir.at("styles"), c.name, dir.path());
    EXPECT_TRUE(r.ran) << c.name << "\n" << r.printed;
    EXPECT_EQ(r.opened, c.opened) << c.name << "\n" << r.printed;
    EXPECT_EQ(r.errors > 0, c.errors) << c.name << "\n" << r.printed;
    EXPECT_EQ(r.warnings > 0, c.warnings) << c.name << "\n" << r.printed;
    EXPECT_EQ(r.unknown, 0) << c.name << "\n" << r.printed;
  }
}

}  // namespace
}  // namespace zw
