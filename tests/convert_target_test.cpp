// Where a conversion writes: only inside the new style's own folder, never
// through a link, never into the source, and every failure counted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/std_file_system.h"
#include "app/menus.h"
#include "base/text.h"
#include "app/convert_dialog.h"
#include "convert/convert_style.h"
#include "support/failing_fs.h"
#include "support/test_app.h"

namespace zw {
namespace {

namespace fs = std::filesystem;
// The style "src" (rules in resolutions, an included file in a subfolder), a
// folder "outside" beside it, and a file system that can refuse writes.
struct ConvertTarget : ::testing::Test {
  void SetUp() override {
    app.host.fs_override = &failing;
    app.style("src",
              {{"options", "levels = 0:24, 1:22, 2:20\n"},
               {"info", "about\n"},
               {"version", "1\n"},
               {"relations", "type=route { set route=yes }\n"},
               {"lines", "include 'inc/roads/main';\nhighway=primary [0x03 resolution 22]\n"},
               {"polygons", "natural=water [0x3c resolution 20]\n"},
               {"icons/a.xpm", "xpm\n"},
               {"inc/roads/main", "highway=track [0x0a resolution 24]\n"}});
    app.style("outside", {{"lines", "theirs\n"}, {"main", "theirs\n"}, {"a.xpm", "theirs\n"}});
    app.select("src");
    app.host.messages.clear();
    app.host.answers = {Answer::yes};
  }
  std::string at(const std::string& rel) const { return app.dir.at("styles/" + rel); }
  void link(const std::string& to, const std::string& rel) const {
    fs::create_directories(to_fs_path(at(rel)).parent_path());
    fs::create_symlink(to_fs_path(to), to_fs_path(at(rel)));
  }
  Converted convert(const std::string& name) {
    app.s.new_style_name = name;
    return convert_style(app.s, app.host);
  }
  int said(const std::string& part) const { return app.said(part); }
  test::TestApp app;
  test::FailingFileSystem failing;
};

// Every way to name a folder that overlaps the source: nothing is asked and
// nothing is written anywhere.
TEST_F(ConvertTarget, ATargetThatIsTheSourceOrLiesInsideOrAboveItIsRefused) {
  const struct {
    const char *what, *root, *style, *name, *link_to, *message;
  } cases[] = {
      {"a link to the source", "", "src", "alias", "src",
       "Target and source are the same ! Cannot continue:"},
      {"the style named '.'", "src", ".", "new", nullptr, "would lie inside the style"},
      {"the style named '..'", "src/inc", "..", "new", nullptr, "would lie inside the style"},
      {"a link into the source", "", "src", "new", "src/inc", "would lie inside the style"},
      {"a link above the source", "", "src", "new", "", "lies inside the new style"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
#ifdef _WIN32
    if (c.link_to) continue;
#endif
    if (c.link_to) link(at(c.link_to), c.name);
    auto before = app.dir.tree("styles");
    app.s.style_root = at(c.root);
    app.s.style_name = c.style;
    app.host.messages.clear();
    EXPECT_EQ(convert(c.name), Converted::refused);
    ASSERT_EQ(app.host.messages.size(), 1u);
    EXPECT_TRUE(text::contains(app.host.messages[0], c.message)) << app.host.messages[0];
    EXPECT_EQ(app.dir.tree("styles"), before);
    if (c.link_to) fs::remove(to_fs_path(at(c.name)));
  }
}

#ifndef _WIN32
// An existing target whose folders or files are links to somewhere else: the
// links give way to files and folders of the new style's own, and what they
// pointed at stays as it was.
TEST_F(ConvertTarget, LinksInAnExistingTargetAreReplacedNotWrittenThrough) {
  const struct {
    const char *link, *to;
    bool folder;
  } cases[] = {
      {"new/inc", "outside", true},
      {"new/inc/roads", "outside", true},
      {"new/icons", "outside", true},
      {"new/inc", "new/other", true},
      {"new/lines", "outside/lines", false},
      {"new/inc/roads/main", "outside/main", false},
      {"new/relations", "outside/gone", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    fs::remove_all(to_fs_path(at("new")));
    fs::create_directories(to_fs_path(at("new/other")));
    link(at(c.to), c.link);
    auto outside = app.dir.tree("styles/outside");
    app.host.messages.clear();
    app.host.answers = {Answer::yes};
    EXPECT_EQ(convert("new"), Converted::whole) << testing::PrintToString(app.host.messages);
    EXPECT_EQ(app.dir.tree("styles/outside"), outside);
    EXPECT_FALSE(fs::exists(to_fs_path(at("outside/gone"))));
    EXPECT_TRUE(app.dir.tree("styles/new/other").empty());
    EXPECT_FALSE(fs::is_symlink(to_fs_path(at(c.link))));
    EXPECT_EQ(said("was a link to"), c.folder ? 1 : 0);
    auto made = app.dir.tree("styles/new");
    EXPECT_EQ(made["inc/roads/main"], "highway=track [0x0a level 0 ]\n\r\n");
    EXPECT_EQ(made["icons/a.xpm"], "xpm\n");
    EXPECT_EQ(made["relations"], "type=route { set route=yes }\n");
  }
}

// A folder of the style that links back to the style or to a folder above
// it would hold the style again and again: it is named and left out, while a
// link to a folder beside it is copied as a folder.
TEST_F(ConvertTarget, ALinkBackIntoTheStyleIsNotCopiedIntoItself) {
  link(at("src"), "src/again");
  link(at("src/inc"), "src/inc/roads/up");
  link(at("outside"), "src/inc/theirs");
  EXPECT_EQ(convert("new"), Converted::whole);
  for (const char* back : {"src/again", "src/inc/roads/up"})
    EXPECT_EQ(said("Not copied, as it leads back to a folder that holds it: " + at(back)), 1)
        << back;
  Strings made;
  for (const auto& [name, content] : app.dir.tree("styles/new")) made.push_back(name);
  EXPECT_EQ(made, (Strings{"icons/a.xpm", "inc/roads/main", "inc/theirs/a.xpm", "inc/theirs/lines",
                           "inc/theirs/main", "info", "lines", "options", "polygons", "relations",
                           "version"}));
}

#endif

// Empty files left by a conversion that once failed are not the style's own:
// they are copied again, while a file with content is kept.
TEST_F(ConvertTarget, EmptyOptionsInfoAndVersionAreNotKept) {
  for (const char* file : {"options", "info", "version"}) {
    SCOPED_TRACE(file);
    fs::remove_all(to_fs_path(at("new")));
    app.dir.write("styles/new/" + std::string(file), "");
    app.dir.write("styles/new/relations", "");
    app.host.answers = {Answer::yes};
    EXPECT_EQ(convert("new"), Converted::whole);
    EXPECT_EQ(app.dir.read("styles/new/" + std::string(file)),
              app.dir.read("styles/src/" + std::string(file)));
    EXPECT_EQ(app.dir.read("styles/new/relations"), "");
  }
  app.dir.write("styles/new/options", "levels = 0:24, 1:20\n");
  app.host.answers = {Answer::yes};
  EXPECT_EQ(convert("new"), Converted::whole);
  EXPECT_EQ(app.dir.read("styles/new/options"), "levels = 0:24, 1:20\n");
}

// Whatever cannot be written is named with the reason, and the conversion
// says it is incomplete rather than done.
TEST_F(ConvertTarget, EveryWriteFailureIsNamedAndCounted) {
  // Each file or folder counts once, and so does each file of a folder that
  // cannot be made.
  const struct {
    const char *read_only, *named;  // the files named, split at "|"
    bool existing;
    int count;
  } cases[] = {
      {"new", "new/options|new/lines|new/polygons|new/inc|new/relations|new/icons", true, 9},
      {"new/inc", "new/inc", false, 2},
      {"new/lines", "new/lines", false, 1},
      {"new/icons", "new/icons", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.read_only);
    fs::remove_all(to_fs_path(at("new")));
    if (c.existing) fs::create_directories(to_fs_path(at("new")));
    failing.read_only_root = at(c.read_only);
    app.host.messages.clear();
    app.host.answers = {Answer::yes};
    EXPECT_EQ(convert("new"), Converted::incomplete);
    for (const auto& file : text::split(c.named, "|")) {
      EXPECT_GE(said(at(file) + ": Read-only file system"), 1)
          << file << testing::PrintToString(app.host.messages);
      EXPECT_FALSE(fs::is_regular_file(to_fs_path(at(file)))) << file;
    }
    EXPECT_EQ(said("The new style " + at("new") + " is incomplete: " + std::to_string(c.count) +
                   " of its"),
              1);
    EXPECT_TRUE(text::starts_with(app.host.messages.back(), "The new style "));
    failing.read_only_root.clear();
  }
}

// From the menu, the failure is shown, and the new style, incomplete as it
// is, joins the style list.
TEST_F(ConvertTarget, TheMenuShowsTheFailureAndListsTheNewStyle) {
  failing.read_only_root = at("new/inc");
  app.host.on_dialog = [&](Dialog) {
    convert_form::Form_Load(app.s, app.host);
    app.s.convert.Text1.text = "new";
    app.host.answers = {Answer::yes};
    convert_form::command1_Click(app.s, app.host, 1);
  };
  mtls_Click(app.s, app.host, 0);
  EXPECT_GE(said(at("new/inc") + ": Read-only file system"), 1);
  EXPECT_EQ(said("The new style " + at("new") + " is incomplete: 2 of its files or folders"), 1);
  EXPECT_EQ(app.s.f1.Combo2.items, (Strings{"new", "outside", "src"}));
}

}  // namespace
}  // namespace zw
