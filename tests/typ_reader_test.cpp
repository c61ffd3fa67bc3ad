#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_app.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

using test::TestApp;
// A TYP text file from its lines, with Windows line ends.
std::string crlf_file(const Strings& lines) {
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

std::string rows(int n, char c) {
  std::string out;
  for (int i = 0; i < n; ++i) out += std::string(32, c) + "\r\n";
  return out;
}

struct TypReader : ::testing::Test {
  // Writes the text as a TYP file and reads it.
  void load(const std::string& text) {
    app.dir.write("map.txt", text);
    loadtyp(app.s, app.host, app.dir.at("map.txt"));
  }
  const TypTable& table_of(const std::string& section) {
    return app.s.typ.of_kind(section == "[_line]" ? 1 : section == "[_point]" ? 2 : 0);
  }
  TestApp app;
};

TEST_F(TypReader, TypeCodes) {
  struct Case {
    const char* section;
    const char* key_line;
    const char* code;
  } cases[] = {
      {"[_point]", "Type=0x2F", "02f00"},
      {"[_polygon]", "Type=0x10f04", "10f04"},
      {"[_point]", "Type=0x0400", "00400"},     // above 0xff: type and sub-type in one
      {"[_line]", "TYPE=0X2F06", "02f06"},      // the key in any case, the code lower-cased
      {"[_line]", "Type=0x01 ;road", "00100"},  // the number, not what follows it
      {"[_point]", "Type=0x2f\r\nSubType=0x06", "02f06"},  // the sub-type joins the type
      {"[_point]", "SubType=0x06\r\nType=0x2F", "02f06"},  // in either order
      {"[_point]", "Type=0x001\r\nSubType=0x00", "00100"},
      // The sub-type wins, as mkgmap compiles it.
      {"[_line]", "Type=0x2f06\r\nSubType=0x07", "02f07"},
      {"[_point]", "; Type=0x33\r\nType=0x22", "02200"},  // a comment is no key
      {"[_line]", "Type=0xzz", "0zz00"},  // no number: the text after "type=0x" as written
      // No key: from the piece's 7th character.
      {"[_polygon]", "UseOrientation=N", "orientation=n"},
  };
  for (const auto& c : cases) {
    load(crlf_file({c.section, c.key_line, "[end]"}));
    const auto& t = table_of(c.section);
    ASSERT_EQ(t.count, 1) << c.key_line;
    EXPECT_EQ(t.type[0], c.code) << c.section << " " << c.key_line;
  }
}

TEST_F(TypReader, ColourLinesBecomeBlueGreenRed) {
  struct Case {
    const char* section;
    const char* colour_line;
    const char* entry;
  } cases[] = {
      {"[_polygon]", "\"0 c #102030\"", "302010"},
      {"[_line]", "\"0 c #A0B0C0\"", "c0b0a0"},   // lines and polygons are read in lower case
      {"[_point]", "\"$ c #A0B0C0\"", "C0B0A0"},  // points as written
      {"[_point]", "\"$ c none\"", "FFFFFF"},
      {"[_point]", "\"$ c #102030=15\"", "FFFFFF"},       // "=15" is white whatever it names
      {"[_point]", "\"$ c #102030 alpha=0\"", "302010"},  // cut at the first blank
      {"[_polygon]", "\"0\tc #102030\"", "302010"},       // a TAB before "c"
      {"[_point]", "\"!\tc #A0B0C0\"", "C0B0A0"},
      {"[_polygon]", "; \"0 c #102030\"", ""},  // a comment adds no colour
      {"[_polygon]", "\"0 col #102030\"", ""},  // "c" alone: not a colour line
  };
  for (const auto& c : cases) {
    load(crlf_file({c.section, "Type=0x05", "Xpm=\"32 1 1 1\"", c.colour_line, "[end]"}));
    const auto& t = table_of(c.section);
    ASSERT_EQ(t.count, 1);
    EXPECT_EQ(t.colours[0], *c.entry ? std::string(c.entry) + "\r\n" : "") << c.colour_line;
  }
}

TEST_F(TypReader, PatternsWhenASectionHasNoBitmap) {
  struct Case {
    Strings keys;
    std::string pixels;
    std::size_t messages = 0;
  } cases[] = {
      {{"LineWidth=3", "BorderWidth=1"}, rows(1, '1') + rows(3, '0') + rows(1, '1')},
      {{"BorderWidth=2", "LineWidth=0"}, rows(2, '1') + rows(2, '1')},
      {{"LineWidth=2.5"}, rows(2, '0')},  // whole numbers, halves to even
      {{}, ""},                           // both widths unset: no rows at all
      // A width too large is reported, and reading goes on without it.
      {{"LineWidth=99999", "BorderWidth=1"}, rows(2, '1'), 1},
  };
  for (const auto& c : cases) {
    Strings lines = {"[_line]", "Type=0x02"};
    lines.insert(lines.end(), c.keys.begin(), c.keys.end());
    lines.insert(lines.end(), {"Xpm=\"0 0 2 0\"", "\"1 c #FFFFFF\"", "[end]"});
    app.host.messages.clear();
    load(crlf_file(lines));
    EXPECT_EQ(app.s.typ.lines.pixels[0], c.pixels) << testing::PrintToString(c.keys);
    EXPECT_EQ(app.host.messages.size(), c.messages) << testing::PrintToString(c.keys);
  }
  load(crlf_file({"[_polygon]", "Type=0x03", "\"0 c #FFFFFF\"", "[_point]", "Type=0x2f", "[end]"}));
  EXPECT_EQ(app.s.typ.polygons.pixels[0], rows(32, '0'));
  EXPECT_EQ(app.s.typ.points.pixels[0], rows(32, '0'));
}

TEST_F(TypReader, PixelRowsFromTheThirdLineOnWithoutQuotes) {
  // The section name normally ends the first line; rows on the first two lines
  // are not read. Bytes above 127 stay as they are.
  load(crlf_file({"[_polygon]\"1111\"", "\"2222\"", "Type=0x03", "\"0\"1\"0\"",
                  "\"\xe9\xe9"
                  "0\"",
                  ";\"not a row\"", "[end]"}));
  EXPECT_EQ(app.s.typ.polygons.pixels[0],
            "010\r\n\xe9\xe9"
            "0\r\n");
}

TEST_F(TypReader, SectionsEndAtEndOrTheNextHeader) {
  // Between sections a row is nobody's; a commented-out section is none.
  load(crlf_file({"; _Line and [_POINT] spelt otherwise are not sections",
                  "[_polygon]\r\nType=0x01\r\n\"0 c #000001\"\r\n[end]",
                  "\"0 c #0000ff\"\r\n\"9999\"", "[_line]\r\nType=0x02\r\n\"0 c #000002\"",
                  ";[_line]\r\n;Type=0x09\r\n; \"0 c #000009\"",
                  "[_polygon]\r\nType=0x03\r\n\"0 c #000003\"\r\n [End]",
                  "[_drawOrder]\r\nType=0x03,1\r\n\"0 c #000007\"",
                  "[_line]\r\nType=0x04\r\n\"0 c #000004\"\r\n\"0000\"\r\n[end]",
                  "[_polygon]\r\nType=0x05\r\n\"0 c #000005\"\r\n\"1111\"\r\n[end]"}));
  const auto &lines = app.s.typ.lines, &polygons = app.s.typ.polygons;
  EXPECT_EQ(app.s.typ.points.count, 0);
  EXPECT_EQ(lines.type, (Strings{"00200", "00400", ""}));
  EXPECT_EQ(lines.colours, (Strings{"020000\r\n", "040000\r\n", ""}));
  EXPECT_EQ(lines.pixels[1], "0000\r\n");
  EXPECT_EQ(polygons.type, (Strings{"00100", "00300", "00500", ""}));
  EXPECT_EQ(polygons.colours, (Strings{"010000\r\n", "030000\r\n", "050000\r\n", ""}));
  EXPECT_EQ(polygons.pixels[0], rows(32, '0'));
}

TEST_F(TypReader, NightBitmapsAreDropped) {
  load(crlf_file({"[_point]", "Type=0x2f06", "DayXpm=\"2 1 2 1\"", "\"$ c #FF0000\"",
                  "\"% c #00FF00\"", "\"$%\"", "NIGHTXPM=\"2 1 1 1\"", "\"$ c #0000FF\"", "\"%%\"",
                  "[end]"}));
  EXPECT_EQ(app.s.typ.points.colours[0] + app.s.typ.points.pixels[0], "0000FF\r\n00FF00\r\n$%\r\n");
}

TEST_F(TypReader, DirectColourPoints) {
  load(crlf_file({"[_point]", "Type=0x2e08", "xpm=\"2 2 0 0\" Colormode=24", "\"#102030\"",
                  "\"#405060 extra\"", "[end]",
                  // A header with a capital X is not the header line: an ordinary entry.
                  "[_point]", "Type=0x2e09", "Xpm=\"1 1 0 0\"", "\"#102030\"", "[end]"}));
  const auto& p = app.s.typ.points;
  ASSERT_EQ(p.count, 2);
  EXPECT_EQ(p.colours, (Strings{"W2 2 0 0\" Colormode=24\r\n", "", ""}));
  EXPECT_EQ(p.pixels, (Strings{"302010\r\n605040\r\n", "#102030\r\n", ""}));
  EXPECT_TRUE(app.host.messages.empty());
}

TEST_F(TypReader, ZeroErrorStopsReadingPoints) {
  load(crlf_file({"[_point]", "Type=0x01", "\"$ c #FFFFFF\"", "[end]", "[_point]", "Type=0x02",
                  "xpm= \"2 2 0 0\"", "\"#102030\"", "[end]", "[_point]", "Type=0x03",
                  "\"$ c #FFFFFF\"", "[end]", "[_line]", "Type=0x04", "LineWidth=1", "[end]"}));
  EXPECT_EQ(app.host.messages, (Strings{"Zero error"}));
  const auto& p = app.s.typ.points;
  EXPECT_EQ(p.count, 3);
  EXPECT_EQ((Strings{p.type[1], p.type[2], p.pixels[0], p.pixels[1]}),
            (Strings{"00200", "", rows(32, '0'), ""}));
  // The lines are read after the points.
  EXPECT_EQ(app.s.typ.lines.pixels[0], rows(1, '0'));
  EXPECT_FALSE(app.host.busy());
}

TEST_F(TypReader, LineFeedFilesReadAsWindowsFiles) {
  std::string text = crlf_file({"[_line]", "Type=0x16", "\"0 c #FF0000\"", "\"0101\"", "[end]",
                                "[_point]", "Type=0x2f", "\"$ c #00FF00\"", "\"$$\"", "[end]"});
  auto read = [&](const std::string& t) {
    load(t);
    const auto &l = app.s.typ.lines, &p = app.s.typ.points;
    return std::vector<Strings>{l.type, l.colours, l.pixels, p.type, p.colours, p.pixels};
  };
  auto windows = read(text);
  EXPECT_EQ(read(text::remove_all(text, "\r")), windows);
  EXPECT_EQ(windows[2][0], "0101\r\n");
}

TEST_F(TypReader, MissingEmptyAndSectionlessFiles) {
  struct Case {
    bool write;
    std::string text;
    int count;
    const char* message;
  } cases[] = {{false, "", -1, "Cannot find file "},
               {true, "", -1, "No TYP section ([_id], [_line], [_polygon], [_point] ...) in "},
               {true, "line\r\n_line _point\r\n", 0,
                "No TYP section ([_id], [_line], [_polygon], [_point] ...) in "},
               {true, "[_id]\r\nFID=1\r\n", 0, nullptr}};
  for (const auto& c : cases) {
    TestApp app;
    std::string path = app.dir.at("none.txt");
    if (c.write) app.dir.write("none.txt", c.text);
    EXPECT_EQ(loadtyp(app.s, app.host, path), c.message == nullptr);
    for (int k : {0, 1, 2}) EXPECT_EQ(app.s.typ.of_kind(k).count, c.count);
    EXPECT_EQ(app.s.typ_file + "|" + app.s.f1.label2.caption, path + "| TYP: " + path);
    EXPECT_EQ(app.host.messages, c.message ? Strings{c.message + path} : Strings{});
  }
}

}  // namespace
}  // namespace zw
