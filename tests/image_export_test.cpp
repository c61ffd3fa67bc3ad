#include <gtest/gtest.h>

#include "app/failure.h"
#include "app/image_export.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::TestApp;

std::uint32_t u32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b.at(at + static_cast<std::size_t>(i)));
  return v;
}
std::uint16_t u16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b.at(at)) |
                                    static_cast<unsigned char>(b.at(at + 1)) << 8);
}

Image picture(int w, int h) {
  Image img{w, h, {}};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.pixels.push_back(rgb(10 * x, 100 + y, 200));
  return img;
}

TEST(Bmp, HeadersRowsAndPaddingAreStandard) {
  struct Case { int w, h; std::size_t stride; } cases[] = {{1, 1, 4}, {2, 3, 8}, {4, 2, 12}, {5, 1, 16}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    auto b = encode_bmp(picture(c.w, c.h));
    std::size_t data = c.stride * static_cast<std::size_t>(c.h);
    ASSERT_EQ(b.size(), 54 + data);
    EXPECT_EQ(b.substr(0, 2), "BM");
    // File size, data offset, info size, width, height (positive: bottom-up), data size.
    std::pair<std::size_t, std::size_t> fields[] = {{2, b.size()}, {10, 54}, {14, 40}, {18, c.w}, {22, c.h}, {34, data}};
    for (auto [at, v] : fields) EXPECT_EQ(u32(b, at), v) << at;
    EXPECT_EQ(u16(b, 26) | u16(b, 28) << 16, 1 | 24 << 16);  // one plane of 24 bits
    // The first row in the file is the picture's bottom row, blue green red.
    for (int y = 0; y < c.h; ++y) {
      std::size_t row = 54 + c.stride * static_cast<std::size_t>(c.h - 1 - y);
      std::string want;
      for (int x = 0; x < c.w; ++x) {
        Colour p = rgb(10 * x, 100 + y, 200);
        want += {static_cast<char>(p.b), static_cast<char>(p.g), static_cast<char>(p.r)};
      }
      want.resize(c.stride, '\0');
      EXPECT_EQ(b.substr(row, c.stride), want) << y;
    }
  }
}

TEST(Bmp, APictureWhoseSizeDoesNotMatchItsPixelsIsRefused) {
  Image bad{3, 3, std::vector<Colour>(4)};
  EXPECT_THROW(encode_bmp(bad), RunError);
}

TEST(SaveImageName, OnlyBitmapNamesAreWritten) {
  struct Case { std::string chosen; std::optional<std::string> written; } cases[] = {
      {"chart", "chart.bmp"}, {"CHART.BMP", "CHART.BMP"}, {"chart.png", std::nullopt},
      {"/home/me/my.charts/chart", std::nullopt}, {"chart.bmp.txt", "chart.bmp.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(bmp_file_name(c.chosen), c.written) << c.chosen;
}

struct SaveImage : ::testing::Test {
  void SetUp() override {
    auto& f = app.s.f1;
    f.p1.set_size(1500, 3000);
    f.p3.set_size(1200, 450);
  }
  std::string file(const std::string& name) { return app.dir.at(name); }
  TestApp app;
};

TEST_F(SaveImage, WritesABitmapOfTheComposedSize) {
  EXPECT_TRUE(save_image(app.s, app.host, file("chart")));
  auto b = app.dir.read("chart.bmp");
  ASSERT_GE(b.size(), 54u);
  EXPECT_EQ(u32(b, 18), 100u);
  EXPECT_EQ(u32(b, 22), 230u);  // the canvas below the strip
  EXPECT_TRUE(app.host.messages.empty());
}

TEST_F(SaveImage, ReplacesAnExistingFileOnlyAfterYes) {
  struct Case { Answer answer; bool replaced; } cases[] = {{Answer::no, false}, {Answer::yes, true}};
  for (const auto& c : cases) {
    app.dir.write("old.bmp", "keep me");
    app.host.messages.clear();
    app.host.answers = {c.answer};
    EXPECT_EQ(save_image(app.s, app.host, file("old.bmp")), c.replaced);
    EXPECT_EQ(app.host.messages, std::vector<std::string>{"Replace file?"});
    EXPECT_EQ(app.dir.read("old.bmp") == "keep me", !c.replaced);
  }
}

TEST_F(SaveImage, RefusesCancelledDialogsOtherFormatsAndUnwritableFiles) {
  struct Case { std::string chosen, message; } cases[] = {
      {"", ""}, {"chart.png", "Format not supported"}, {"no such folder/chart.bmp", "chart.bmp"}};
  for (const auto& c : cases) {
    app.host.messages.clear();
    EXPECT_FALSE(save_image(app.s, app.host, c.chosen.empty() ? "" : file(c.chosen)));
    ASSERT_EQ(app.host.messages.size(), c.message.empty() ? 0u : 1u) << c.chosen;
    if (!c.message.empty()) { EXPECT_NE(app.host.messages[0].find(c.message), std::string::npos); }
  }
  EXPECT_EQ(app.dir.read("chart.png"), "");
}

}  // namespace
}  // namespace zw
