#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "base/text.h"
#include "support/cli_runner.h"

namespace zw {
namespace {

using Names = std::set<std::string>;

Names options_in(const std::string& text) {
  Names found;
  static const std::regex option("--[a-z][a-z-]*[a-z]");
  for (std::sregex_iterator it(text.begin(), text.end(), option), end; it != end; ++it)
    found.insert(it->str());
  return found;
}

std::string manual_page() {
  std::ifstream in(ZW_SOURCE_DIR "/packaging/zoomwright-cli.1");
  std::stringstream page;
  page << in.rdbuf();
  // Roff's escaped minus is the option's dash.
  return text::replace_all(page.str(), "\\-", "-");
}

// The manual page names every command and option that --help names, and no
// other; each command has its example; the version and exit statuses agree.
TEST(CliManual, KeptInStepWithHelp) {
  auto usage = test::run_cli({"--help"});
  ASSERT_EQ(usage.status, 0);
  auto page = manual_page();
  ASSERT_FALSE(page.empty());

  Names commands, help_options = options_in(usage.out);
  std::istringstream lines(text::before(
      text::mid(usage.out, static_cast<int>(usage.out.find("commands:")) + 1), "common options:"));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("  ", 0) == 0 && line.size() > 2 && line[2] != ' ')
      commands.insert(line.substr(2, line.find(' ', 2) - 2));
  ASSERT_GE(commands.size(), 6u) << usage.out;
  for (const auto& c : commands) {
    SCOPED_TRACE(c);
    auto own = test::run_cli({c, "--help"});
    EXPECT_EQ(own.status, 0);
    auto named = options_in(own.out);
    help_options.insert(named.begin(), named.end());
    EXPECT_TRUE(text::contains(page, ".TP\n\\fB" + c + "\\fR")) << "no entry for " << c;
    EXPECT_TRUE(text::contains(page, "\nzoomwright-cli " + c + " ")) << "no example of " << c;
  }
  EXPECT_EQ(options_in(page), help_options);
  // Each option is described, not only named in a synopsis.
  for (const auto& o : help_options)
    EXPECT_TRUE(text::contains(page, "\n.B " + o + "\n") ||
                text::contains(page, "\n.BI " + o + " "))
        << "no entry for " << o;

  auto version = test::run_cli({"--version"});
  auto number = text::before(text::replace_all(version.out, "zoomwright-cli ", ""), "\n");
  EXPECT_TRUE(text::contains(page, "\"zoomwright " + number + "\"")) << number;
  for (const char* status : {".B 0\n", ".B 1\n", ".B 2\n"})
    EXPECT_TRUE(text::contains(page, status)) << status;
}

}  // namespace
}  // namespace zw
