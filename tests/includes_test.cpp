#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/includes.h"
#include "app/files.h"
#include "app/paths.h"
#include "app/shell.h"
#include "app/text.h"
#include "support/test_app.h"

namespace zw {
namespace {

using Strings = std::vector<std::string>;

struct Includes : ::testing::Test {
  // Writes and selects style "s" and searches the includes of the lines.
  void search(std::map<std::string, std::string> files) {
    files["options"] = "levels=0:24\n";
    app.style("s", files);
    app.select("s");
    chknodata(app.s, app.host, 1);
  }
  test::TestApp app;
};

TEST_F(Includes, StatementsAreTakenOnceAndNestedIncludesGoTwoLevelsDeep) {
  search({{"lines", "include 'inc/roads';\ninclude 'inc/roads';\ninclude \"inc/quoted\";\n"
                    "#include 'inc/off';\ninclude 'other/place';\n"},
          {"inc/roads", "# roads\ninclude 'inc/common';\n"},
          {"inc/common", "# common\ninclude 'inc/deeper';\n"},
          {"inc/deeper", "x\ny\n"},
          {"inc/quoted", "x\n"},
          {"inc/off", "x\n"}});
  // The recorded files, as "digit relative-path".
  Strings recorded;
  auto base = app.dir.at("styles/s") + paths::sep_text;
  for (int i = 0; i <= app.s.includes.extra_count; ++i) {
    const auto& e = app.s.includes.extra_files[static_cast<std::size_t>(i)];
    recorded.push_back(e.substr(0, 1) + " " + text::replace_all(e.substr(1), base, ""));
  }
  EXPECT_EQ(recorded, (Strings{"1 " + paths::to_host("inc/roads"), "1 " + paths::to_host("inc/common")}));
  EXPECT_EQ(app.s.f1.Label6.caption, "1");
  EXPECT_EQ(app.s.includes.extra_done, "1");
  // While a search is under way another one does nothing.
  EXPECT_TRUE(app.s.scan_busy);
  EXPECT_TRUE(chknodata(app.s, app.host, 0));
}

TEST_F(Includes, MissingRuleFileIsReported) {
  search({});
  EXPECT_EQ(app.host.messages, Strings{"cannot find " + rule_file_path(app.s, 1)});
  EXPECT_EQ(app.s.includes.extra_count, -1);
}

TEST_F(Includes, TheFiftySecondFileIsRefusedWithOneMessage) {
  std::map<std::string, std::string> files{{"lines", "# many\n"}};
  for (int i = 0; i < 55; ++i) {
    files["lines"] += "include 'inc/f" + std::to_string(i) + "';\n";
    files["inc/f" + std::to_string(i)] = "x [0x01 resolution 20]\n";
  }
  search(files);
  EXPECT_EQ(app.s.includes.extra_count, 50);
  ASSERT_EQ(app.host.messages.size(), 1u);
  EXPECT_TRUE(text::contains(app.host.messages[0], "More than 51 included files"));
}

TEST_F(Includes, LoadbinaryNormalisesBlanksAndRefusesAFileTooLargeToRead) {
  app.dir.write("f", "a\t =  [ 0x01 ]\r\n");
  EXPECT_EQ(loadbinary(app.s, app.host, app.dir.at("f"), true), "a= [0x01]\r\n");
  EXPECT_EQ(loadbinary(app.s, app.host, "", true), "");
  app.dir.write("big", "");
  std::filesystem::resize_file(to_fs_path(app.dir.at("big")),
                               static_cast<std::uintmax_t>(max_read_bytes) + 1);
  EXPECT_EQ(loadbinary(app.s, app.host, app.dir.at("big"), true), "");
  EXPECT_EQ(loadtext(app.host, app.dir.at("big")), "");
  ASSERT_EQ(app.host.messages.size(), 2u);
  EXPECT_TRUE(text::contains(app.host.messages[0], "too large"));
}

}  // namespace
}  // namespace zw
