#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/font_dialog.h"
#include "app/menus.h"
#include "platform/headless/headless_host.h"

namespace zw {
namespace {

struct FontDialogTest : ::testing::Test {
  AppState s;
  HeadlessHost host;
};

TEST_F(FontDialogTest, CloseTakesAWholeSizeWithinSixToSixteen) {
  struct Case {
    const char* typed;
    float expected;
  } cases[] = {
      {"16", 16}, {"20", 11}, {"5", 11},    {"abc", 11}, {"12.5", 12},
      {"5.5", 6}, {"13.5", 14}, {"  9  ", 9}, {"   ", 11}, {"1e9", 11},
  };
  for (const auto& c : cases) {
    s.chart_font_size = 11;
    s.chart_font_name = "Arial";
    font_form::Form_Load(s, host);
    s.fontt.Combo2.text = c.typed;
    font_form::Command1_Click(s);
    EXPECT_EQ(s.chart_font_size, c.expected) << '"' << c.typed << '"';
    EXPECT_TRUE(s.fontt.closing);
  }
}

TEST_F(FontDialogTest, CloseTakesAnyNameThatIsNotBlank) {
  struct Case {
    const char* typed;
    const char* expected;
  } cases[] = {
      {"Courier New", "Courier New"},
      {"No Such Font", "No Such Font"},  // taken as typed, listed or not
      {"", "Times New Roman"},
      {"    ", "Times New Roman"},
  };
  for (const auto& c : cases) {
    s.chart_font_name = "Times New Roman";
    font_form::Form_Load(s, host);
    s.fontt.Combo1.text = c.typed;
    font_form::Command1_Click(s);
    EXPECT_EQ(s.chart_font_name, c.expected) << '"' << c.typed << '"';
  }
}

TEST_F(FontDialogTest, OpeningListsFontsAndSizesAndCorrectsTheStoredFont) {
  host.fonts = {"Zeta", "@MS Gothic", "Arial", "Noto@Vertical", "Alpha"};
  struct Case {
    float stored_size;
    const char* stored_name;
    float size;
    const char* size_text;
    const char* name;
  } cases[] = {
      {3, "", 10, "10", "Arial"},
      {17, "Zeta", 10, "10", "Zeta"},
      {16, "Alpha", 16, "16", "Alpha"},
      {12.5f, "Alpha", 12.5f, "12.5", "Alpha"},  // a stored fraction is shown as it is
  };
  for (const auto& c : cases) {
    s.chart_font_size = c.stored_size;
    s.chart_font_name = c.stored_name;
    font_form::Form_Load(s, host);
    font_form::Form_Load(s, host);  // every opening starts afresh
    EXPECT_EQ(s.fontt.Combo1.items, (std::vector<std::string>{"Zeta", "Arial", "Alpha"}));
    EXPECT_EQ(s.fontt.Combo2.items,
              (std::vector<std::string>{"6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"}));
    // Closing by the frame applies nothing more than these corrections.
    EXPECT_EQ(s.chart_font_size, c.size);
    EXPECT_EQ(s.chart_font_name, c.name);
    EXPECT_EQ(s.fontt.Combo2.text, c.size_text);
    EXPECT_EQ(s.fontt.Combo1.text, c.name);
    EXPECT_EQ(s.fontt.preview_font, c.name);
    EXPECT_EQ(s.fontt.preview_size, c.size);
    EXPECT_FALSE(s.fontt.closing);
    EXPECT_FALSE(host.busy());
  }
}

TEST_F(FontDialogTest, ThePreviewFollowsTheChoicesButNothingIsAppliedYet) {
  s.chart_font_name = "Arial";
  s.chart_font_size = 10;
  font_form::Form_Load(s, host);
  s.fontt.Combo1.text = "Courier New";
  font_form::Combo1_Click(s);
  s.fontt.Combo2.text = "14";
  font_form::Combo2_Click(s);
  EXPECT_EQ(s.fontt.preview_font, "Courier New");
  EXPECT_EQ(s.fontt.preview_size, 14);
  EXPECT_EQ(s.chart_font_name, "Arial");
  EXPECT_EQ(s.chart_font_size, 10);
}

TEST(AboutBox, ShowsNameAndVersionAndItsLinkOpensTheHomePage) {
  AppState s;
  s.app_dir = "prog";
  about_form::Form_Activate(s);
  EXPECT_EQ(s.Infor.caption, "Information");
  EXPECT_EQ(s.Infor.Label9.caption, "Zoomwright");
  EXPECT_EQ(s.Infor.label1.caption, std::string("Version 2.51") + notice_text);
  for (bool works : {true, false}) {
    HeadlessHost host;
    host.shell_works = works;
    about_form::Label2_Click(s, host);
    EXPECT_EQ(host.opened, std::vector<std::string>{help_page(s)});
    EXPECT_TRUE(host.messages.empty());
  }
  about_form::Command1_Click(s);
  EXPECT_TRUE(s.Infor.closing);
}

}  // namespace
}  // namespace zw
