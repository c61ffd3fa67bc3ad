#include <gtest/gtest.h>

#include "app/about_box.h"
#include "platform/headless/headless_host.h"

namespace zw {
namespace {

TEST(AboutBox, ShowsTheVersionAndOkClosesIt) {
  AppState s;
  s.app_dir = "prog";
  about_form::Form_Activate(s);
  EXPECT_EQ(s.Infor.label1.caption, std::string("Version 2.51") + notice_text);
  about_form::Command1_Click(s);
  EXPECT_TRUE(s.Infor.closing);
}

}  // namespace
}  // namespace zw
