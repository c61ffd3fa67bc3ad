#include <gtest/gtest.h>

#include "app/font_dialog.h"
#include "app/menus.h"
#include "platform/headless/headless_host.h"

namespace zw {
namespace {

struct FontDialogTest : ::testing::Test {
  void open(const std::string& name, float size) {
    s.chart_font_name = name;
    s.chart_font_size = size;
    font_form::Form_Load(s, host);
  }
  AppState s;
  HeadlessHost host;
};

TEST_F(FontDialogTest, CloseTakesAWholeSizeWithinSixToSixteenAndANameThatIsNotBlank) {
  const struct {
    const char *size, *name;
    float expected_size;
    const char* expected_name;
  } cases[] = {
      {"16", "Courier New", 16, "Courier New"},
      {"20", "No Such Font", 11, "No Such Font"},
      {"5", "", 11, "Arial"},
      {"abc", "    ", 11, "Arial"},
      {"12.5", "", 12, "Arial"},
      {"13.5", "", 14, "Arial"},
      {"5.5", "", 6, "Arial"},
      {"  9  ", "", 9, "Arial"},
      {"1e9", "", 11, "Arial"},
  };
  for (const auto& c : cases) {
    open("Arial", 11);
    s.fontt.Combo2.text = c.size;
    s.fontt.Combo1.text = c.name;
    font_form::Command1_Click(s);
    EXPECT_EQ(s.chart_font_size, c.expected_size) << '"' << c.size << '"';
    EXPECT_EQ(s.chart_font_name, c.expected_name) << '"' << c.name << '"';
    EXPECT_TRUE(s.fontt.closing);
  }
}

TEST_F(FontDialogTest, OpeningListsFontsAndCorrectsTheStoredFont) {
  host.fonts = {"Zeta", "@MS Gothic", "Arial", "Noto@Vertical", "Alpha"};
  const struct {
    float stored;
    const char* stored_name;
    float size;
    const char *size_text, *name;
  } cases[] = {
      {3, "", 10, "10", "Arial"},
      {17, "Zeta", 10, "10", "Zeta"},
      {16, "Alpha", 16, "16", "Alpha"},
      {12.5f, "Alpha", 12.5f, "12.5", "Alpha"},  // a stored fraction is shown as it is
  };
  for (const auto& c : cases) {
    open(c.stored_name, c.stored);
    font_form::Form_Load(s, host);  // every opening starts afresh
    EXPECT_EQ(s.fontt.Combo1.items, (std::vector<std::string>{"Zeta", "Arial", "Alpha"}));
    // Closing by the frame applies nothing more than these corrections.
    EXPECT_EQ(s.chart_font_size, c.size);
    EXPECT_EQ(s.chart_font_name, c.name);
    EXPECT_EQ(s.fontt.Combo2.text, c.size_text);
    EXPECT_EQ(s.fontt.Combo1.text, c.name);
    EXPECT_FALSE(s.fontt.closing);
    EXPECT_FALSE(host.busy());
  }
}

TEST_F(FontDialogTest, ThePreviewFollowsTheChoicesButNothingIsAppliedYet) {
  open("Arial", 10);
  s.fontt.Combo1.text = "Courier New";
  font_form::Combo1_Click(s);
  s.fontt.Combo2.text = "14";
  font_form::Combo2_Click(s);
  EXPECT_EQ(s.fontt.preview_font, "Courier New");
  EXPECT_EQ(s.fontt.preview_size, 14);
  EXPECT_EQ(s.chart_font_name, "Arial");
  EXPECT_EQ(s.chart_font_size, 10);
}

}  // namespace
}  // namespace zw
