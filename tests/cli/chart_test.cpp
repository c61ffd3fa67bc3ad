#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "chart/image_export.h"
#include "base/text.h"
#include "platform/qt/raster_surface.h"
#include "support/cli_runner.h"
#include "support/test_app.h"

namespace zw {
namespace {

using test::run_cli;

struct CliChart : ::testing::Test {
  test::CliResult chart(std::vector<std::string> args) {
    args.insert(args.begin(), {"chart", test::example_style(), "--kind", "lines", "--all"});
    args.insert(args.end(), {"--system-dir", dir.at("system")});
    return run_cli(args);
  }
  // Read as bytes: a name need not be UTF-8.
  QImage load(const std::string& name) {
    auto bytes = dir.read(name);
    return QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  test::TempDir dir;
};

TEST_F(CliChart, WritesTheSameChartAsBitmapAndPng) {
  auto bmp = chart({"--out", dir.at("chart.BMP")});
  auto png = chart({"--out", dir.at("chart.png")});
  ASSERT_EQ(bmp.status + png.status, 0) << bmp.err << png.err;
  EXPECT_EQ(bmp.err, "");
  // The analysis is printed as analyse prints it.
  EXPECT_TRUE(text::starts_with(bmp.out, "rows\t16\nlowest\t16\n")) << bmp.out;
  EXPECT_EQ(png.out, bmp.out);

  EXPECT_EQ(dir.read("chart.png").substr(1, 3), "PNG");
  QImage a = load("chart.BMP"), b = load("chart.png");
  ASSERT_FALSE(a.isNull() || b.isNull());
  EXPECT_EQ(a.width(), 1000);  // 15000 twips at 15 twips per pixel
  EXPECT_EQ(a.convertToFormat(QImage::Format_RGB32), b.convertToFormat(QImage::Format_RGB32));

  // The strip's grey on top, the canvas below with a red bar (motorway, resolution
  // 16 lies below the last main level) in the first row.
  EXPECT_EQ(QColor(a.pixel(5, 5)), QColor(224, 224, 224));
  EXPECT_EQ(QColor(a.pixel(5, 30)), QColor(255, 255, 255));
  int first_bar = 400 / 15 + (80 + 170) / 15;
  bool red = false;
  for (int y = first_bar - 1; y <= first_bar + 2; ++y)
    red = red || QColor(a.pixel(500, y)) == QColor(128, 0, 0);
  EXPECT_TRUE(red);
  // The scale labels are drawn into the strip as the window shows them: the
  // main levels' green marks and the captions' dark text.
  int mark = 0, text = 0;
  for (int y = 0; y < 400 / 15; ++y)
    for (int x = 600 / 15; x < b.width(); ++x) {
      QColor c(b.pixel(x, y));
      mark += c == QColor(100, 200, 100);
      text += c.red() < 100 && c.green() < 100;
    }
  EXPECT_GT(mark, 1000);
  EXPECT_GT(text, 50);

  // The width sets the pane.
  auto narrow =
      chart({"--width", "9000", "--show-text", "--overview-only", "--out", dir.at("narrow.png")});
  ASSERT_EQ(narrow.status, 0) << narrow.err;
  EXPECT_EQ(load("narrow.png").width(), 600);
}

// A refused image is refused before the analysis and the drawing: nothing is
// printed but the message.
TEST_F(CliChart, NamesAndExistingFilesFollowSaveImage) {
  const struct {
    std::vector<std::string> extra;
    std::string out;
    int status;
    std::string err;
  } cases[] = {
      {{}, "chart.jpg", 1, "message: Format not supported\n"},
      {{}, "chart", 1, "message: Format not supported\n"},
      {{}, "old.png", 1, "message: Replace file?\\r\\n\\r\\n" + dir.at("old.png") + "\n"},
      {{},
       "missing/chart.png",
       1,
       "message: " + dir.at("missing/chart.png") + " Cannot write " + dir.at("missing/chart.png") +
           ": No such file or directory\n"},
      {{"--yes"}, "old.bmp", 0, "message: Replace file?\\r\\n\\r\\n" + dir.at("old.bmp") + "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.out);
    dir.write("old.png", "old");
    dir.write("old.bmp", "old");
    auto args = c.extra;
    args.insert(args.end(), {"--out", dir.at(c.out)});
    auto r = chart(args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out.empty(), c.status != 0) << r.out;
  }
  EXPECT_EQ(dir.read("old.png"), "old");
  EXPECT_EQ(dir.read("old.bmp").substr(0, 2), "BM");
  EXPECT_EQ(dir.read("chart"), "");

  // No image named.
  EXPECT_EQ(run_cli({"chart", test::example_style(), "--kind", "lines", "--all"}).status, 2);
}

// Every row is drawn, however many: a tall chart is drawn and written band by
// band, the same as a short one where they share rows. Only a bitmap too
// large for its format is refused.
TEST_F(CliChart, EveryRowIsDrawnBandByBand) {
  auto style = [&](const std::string& name, int rows) {
    std::string rules;
    for (int i = 0; i < rows; ++i) rules += "a=" + std::to_string(i) + " [0x01 resolution 20]\n";
    dir.write("styles/" + name + "/options", "levels = 0:24, 1:20\n");
    dir.write("styles/" + name + "/lines", rules);
    return dir.at("styles/" + name);
  };
  auto draw = [&](const std::string& path, const std::string& out, const char* width) {
    return run_cli({"chart", path, "--kind", "lines", "--all", "--show-text", "--typ",
                    std::string(ZW_SOURCE_DIR) + "/examples/typ/example.txt", "--width", width,
                    "--out", dir.at(out), "--system-dir", dir.at("system")});
  };
  auto big = style("big", 4000), small = style("small", 700);
  auto b = draw(big, "big.png", "3000"), s = draw(small, "small.png", "3000");
  ASSERT_EQ(b.status + s.status, 0) << b.err << s.err;
  EXPECT_EQ(b.err, "");
  auto tall = load("big.png"), short_one = load("small.png");
  ASSERT_FALSE(tall.isNull() || short_one.isNull());
  EXPECT_GT(tall.height(), short_one.height() * 5);
  int same = 0;
  for (int y = 0; y < short_one.height() * 9 / 10; ++y)
    same += std::memcmp(tall.constScanLine(y), short_one.constScanLine(y),
                        static_cast<std::size_t>(short_one.bytesPerLine())) == 0;
  EXPECT_EQ(same, short_one.height() * 9 / 10);
  // As a bitmap, written band by band to its place in the file: the same picture.
  auto bitmap = draw(big, "big.bmp", "3000");
  ASSERT_EQ(bitmap.status, 0) << bitmap.err;
  EXPECT_EQ(load("big.bmp").convertToFormat(QImage::Format_RGB32),
            tall.convertToFormat(QImage::Format_RGB32));

  dir.write("old.bmp", "old");
  auto refused = run_cli({"chart", big, "--kind", "lines", "--all", "--width", "150000", "--yes",
                          "--out", dir.at("old.bmp"), "--system-dir", dir.at("system")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("message: Cannot save the image " + dir.at("old.bmp") +
                             ": Picture too large for a bitmap file\n"),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(dir.read("old.bmp"), "old");
}

// The name's bytes are the file's name, for both formats, also when they are
// not UTF-8; the existing-file question looks at the same name.
TEST_F(CliChart, FileNamesAreTheirBytes) {
  for (std::string name : {"\xe9t\xe9.png", "\xe9t\xe9.bmp", "caf\xc3\xa9.png"}) {
    SCOPED_TRACE(name);
    auto r = chart({"--out", dir.at(name)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(load(name).isNull());
    r = chart({"--out", dir.at(name)});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "message: Replace file?\\r\\n\\r\\n" + dir.at(name) + "\n");
  }
  EXPECT_EQ(dir.read("\xef\xbf\xbdt\xef\xbf\xbd.png"), "");
}

#ifndef _WIN32
// A named pipe as the output fails at once, naming it; a dangling link is
// replaced by the image, not followed out of the folder.
TEST_F(CliChart, OutputThatIsNoFile) {
  for (const char* name : {"pipe.png", "pipe.bmp"}) {
    ASSERT_EQ(mkfifo(dir.at(name).c_str(), 0600), 0);
    auto r = chart({"--out", dir.at(name)});
    EXPECT_EQ(r.status, 1) << name;
    EXPECT_TRUE(text::contains(r.err, dir.at(name) + ": it is a named pipe, not a file")) << r.err;
  }
  for (const char* name : {"link.png", "link.bmp"}) {
    std::filesystem::create_symlink(dir.at("outside") + name, dir.at(name));
    auto r = chart({"--out", dir.at(name)});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(std::filesystem::is_symlink(dir.at(name))) << name;
    EXPECT_FALSE(load(name).isNull()) << name;
    EXPECT_FALSE(std::filesystem::exists(dir.at("outside") + name));
  }
}
#endif

TEST(ComposeOnRaster, StripAboveCanvasPixelForPixel) {
  AppState s;
  HeadlessHost host;
  qt::RasterSurface p1(15), p2(15), p3(15), p4(15);
  for (auto [box, surface] :
       {std::pair{&s.f1.p1, &p1}, {&s.f1.p2, &p2}, {&s.f1.p3, &p3}, {&s.f1.p4, &p4}})
    box->attach(surface);
  s.f1.p1.set_size(1500, 3000);
  s.f1.p3.set_size(750, 300);  // narrower: stretched to the canvas width
  p3.clear(colours::red);
  p3.fill_rect(0, 0, 15, 15, colours::black);
  p1.clear(colours::blue);
  compose_image(s, host);
  Image img = p4.image();
  ASSERT_TRUE(img.width == 100 && img.height == 220);
  // One pixel of the strip becomes two.
  EXPECT_EQ((std::vector<Colour>{img.at(0, 0), img.at(1, 0), img.at(2, 0), img.at(99, 19),
                                 img.at(0, 20), img.at(99, 219)}),
            (std::vector<Colour>{colours::black, colours::black, colours::red, colours::red,
                                 colours::blue, colours::blue}));
}

#ifndef _WIN32
// Qt's surfaces are a module beside the program, loaded by the commands that
// draw: the program itself starts without Qt, a copy without the module
// analyses, and its chart names what is missing and draws nothing.
TEST(CliDrawingModule, OnlyTheCommandsThatDrawLoadIt) {
#ifdef ZW_CLI_PATH
  test::TempDir dir;
  auto loaded = test::run_program({"env", "LD_TRACE_LOADED_OBJECTS=1", ZW_CLI_PATH});
  EXPECT_TRUE(text::contains(loaded.out, "libc.so")) << loaded.out;
  EXPECT_FALSE(text::contains(loaded.out, "libQt6")) << loaded.out;

  auto copy = dir.at("bin/zoomwright-cli");
  std::filesystem::create_directories(dir.at("bin"));
  std::filesystem::copy_file(ZW_CLI_PATH, copy);
  auto r = test::run_program({copy, "analyse", test::example_style(), "--kind", "lines", "--all",
                              "--system-dir", dir.at("system")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(text::starts_with(r.out, "rows\t16\n")) << r.out;
  r = test::run_program({copy, "chart", test::example_style(), "--kind", "lines", "--all",
                         "--system-dir", dir.at("system"), "--out", dir.at("chart.png")});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(text::starts_with(
      r.err, "zoomwright-cli chart: cannot load the drawing module zoomwright-raster.so:"))
      << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::filesystem::exists(dir.at("chart.png")));
#endif
}
#endif

}  // namespace
}  // namespace zw
