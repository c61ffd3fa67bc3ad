// mkgmap's own style check, run on a style and on the copy that "convert"
// writes of it: the copy must not get more errors or warnings than its source,
// and mkgmap must draw every converted rule at the levels it drew the source
// rule at. mkgmap is a test dependency; without it these tests fail, they
// never skip.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>

#include "base/std_file_system.h"
#include "app/main_window.h"
#include "base/text.h"
#include "support/cli_runner.h"
#include "support/mkgmap_style.h"
#include "support/style_forms.h"
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
StyleCheck check_style(const std::string& root, const std::string& name,
                       const std::string& workdir) {
  auto r =
      run_program({"mkgmap", "--style-file=" + root, "--style=" + name, "--check-styles"}, workdir);
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
    if (line.empty() ||
        (text::starts_with(line, "Using ") && text::contains(line, " to execute mkgmap")) ||
        line == "checking style: " + name || text::starts_with(line, "Found one style in "))
      continue;
    if (text::starts_with(lower, "could not open style")) c.opened = false;
    if (text::contains(lower, "severe") || text::contains(lower, "error") ||
        text::contains(lower, "could not"))
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

// The main levels at which mkgmap draws each rule of each file of a style, by
// file and line, from the style's level table: a rule of resolutions lo-hi (hi
// 24 when only lo is given) is drawn at every main level whose resolution lies
// between them; "level n" stands for the resolution of level n. What follows
// a "#" is a comment.
std::map<std::string, std::string> drawn_levels(const test::TempDir& dir,
                                                const std::string& style) {
  test::TestApp app;
  select_style_dir(app.s, app.host, dir.at("styles/" + style));
  const auto& lv = app.s.levels;
  auto resolution = [&](int level) {
    return level <= lv.level_last ? int(lv.level_res.at(std::size_t(level))) : -1;
  };
  static const std::regex rule(R"((^|[ \t\[])(resolution|level)[ \t]+(\d+)(-(\d+))?)");
  std::map<std::string, std::string> out;
  for (const auto& [file, content] : dir.tree("styles/" + style)) {
    auto lines = text::split(content, "\n");
    for (std::size_t n = 0; n < lines.size(); ++n) {
      auto line = text::before(lines[n], "#");
      std::string levels;
      for (std::sregex_iterator m(line.begin(), line.end(), rule), end; m != end; ++m) {
        bool by_level = (*m)[2] == "level";
        int a = std::stoi((*m)[3]), b = (*m)[5].matched ? std::stoi((*m)[5]) : -1;
        if (by_level) a = resolution(a), b = b >= 0 ? resolution(b) : -1;
        int lo = b >= 0 ? std::min(a, b) : a, hi = b >= 0 ? std::max(a, b) : 24;
        levels += "{";
        for (int i = 0; i <= lv.main_level_last; ++i)
          if (lo <= lv.level_res.at(std::size_t(i)) && lv.level_res.at(std::size_t(i)) <= hi)
            levels += ' ' + std::to_string(i);
        levels += " }";
      }
      if (!levels.empty()) out[file + ":" + std::to_string(n + 1)] = levels;
    }
  }
  return out;
}

TEST(MkgmapCheck, ConvertedStylesPassAsWellAsTheirSources) {
  require_mkgmap();
  if (HasFatalFailure()) return;
  // The include forms without the style whose files include each other:
  // mkgmap itself runs out of stack on that one.
  auto forms = [](const test::TempDir& dir) {
    test::write_form_styles(dir);
    std::filesystem::remove_all(to_fs_path(dir.at("styles/cycle")));
  };
  const struct {
    const char *label, *name;
    std::function<void(const test::TempDir&)> put;
  } sources[] = {
      {"the example style", "example",
       [](const test::TempDir& dir) { dir.copy(test::example_style(), "styles/example"); }},
      {"mkgmap's default style", "default", test::unpack_default_style},
      {"the include forms", "forms", forms},
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
    for (auto [what, count] : {std::pair{"errors", &StyleCheck::errors},
                               {"warnings", &StyleCheck::warnings},
                               {"unknown lines", &StyleCheck::unknown}})
      EXPECT_LE(after.*count, before.*count) << what << "\nsource:\n"
                                             << before.printed << "converted:\n"
                                             << after.printed;

    auto before_levels = drawn_levels(dir, source.name);
    auto after_levels = drawn_levels(dir, "levels");
    int rules = 0, moved = 0;
    for (const auto& [where, levels] : before_levels) {
      ++rules;
      auto it = after_levels.find(where);
      std::string converted = it == after_levels.end() ? "(no rule)" : it->second;
      if (converted != levels) ++moved;
      EXPECT_EQ(converted, levels) << where;
    }
    EXPECT_GT(rules, 0);
    auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << source.label << ": checked in " << seconds << " s; source " << before.errors
              << " errors, " << before.warnings << " warnings; converted " << after.errors
              << " errors, " << after.warnings << " warnings; " << rules << " rules, " << moved
              << " drawn at other levels\n";
  }
}

// The counting itself, on styles that mkgmap warns about or refuses: a check
// that counted nothing would let every converted style pass.
TEST(MkgmapCheck, CountsTheErrorsAndWarningsMkgmapPrints) {
  require_mkgmap();
  if (HasFatalFailure()) return;
  test::TempDir dir;
  // Without a version file mkgmap does not take a folder for a style.
  for (const char* style : {"warned", "faulty"})
    dir.write(std::string("styles/") + style + "/version", "0\n");
  dir.write("styles/warned/options", "levels = 0:24, 1:22\n");
  dir.write("styles/warned/lines",
            "highway=a [0x01 resolution 99]\nhighway=b [0x01 resolution 22]\n");
  dir.write("styles/faulty/options", "levels = 0:24, 1:22\n");
  dir.write("styles/faulty/lines", "highway=a [0x01 level 9]\n");
  const struct {
    const char* name;
    bool opened, errors, warnings;
  } cases[] = {
      {"warned", true, false, true},
      {"faulty", false, true, false},
  };
  for (const auto& c : cases) {
    auto r = check_style(dir.at("styles"), c.name, dir.path());
    SCOPED_TRACE(std::string(c.name) + "\n" + r.printed);
    EXPECT_TRUE(r.ran);
    EXPECT_EQ(r.opened, c.opened);
    EXPECT_EQ(r.errors > 0, c.errors);
    EXPECT_EQ(r.warnings > 0, c.warnings);
    EXPECT_EQ(r.unknown, 0);
  }
}

}  // namespace
}  // namespace zw
