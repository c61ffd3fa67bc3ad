#include <gtest/gtest.h>

#include <array>

#include "base/text.h"
#include "app/check_handlers.h"
#include "chart/swatches.h"
#include "levels/categories.h"
#include "support/test_app.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

using test::RecordingSurface;
using test::TestApp;
using Colours = std::vector<Colour>;

constexpr Colour red = rgb(255, 0, 0), blue = rgb(0, 0, 255), green = rgb(0, 255, 0);
constexpr Colour black = colours::black;

std::string list(const Strings& entries) {
  std::string out;
  for (const auto& e : entries) out += e + "\r\n";
  return out;
}

// One entry per kind's table, as the reader leaves it (an extra empty entry at count).
void set_table(TypTable& t, const Strings& types, const Strings& colours, const Strings& pixels) {
  t.count = static_cast<int>(types.size());
  t.type = types, t.colours = colours, t.pixels = pixels;
  for (auto* v : {&t.type, &t.colours, &t.pixels}) v->push_back("");
  t.cpp.assign(types.size() + 1, 0);
}

struct Swatches : ::testing::Test {
  // Result row 0.. of the kind carry these type codes.
  void rows(int kind, const Strings& types) {
    app.s.selected_kind = static_cast<std::int16_t>(kind);
    for (std::size_t i = 0; i < types.size(); ++i) app.s.results.rule_type[kind].set(i, types[i]);
  }
  bool plot(int kind, int i) {
    return (kind == 1 ? plotline : kind == 0 ? plotpolygon : plotpoint)(app.s, app.host, i);
  }
  Colours cells() const {
    Colours out;
    for (const auto& op : app.p4.of(RecordingSurface::Op::Kind::fill)) out.push_back(op.colour);
    return out;
  }
  TestApp app;
};

TEST(TypeKey, PadsAndLowerCases) {
  struct Case {
    const char* code;
    const char* key;
  } cases[] = {{"01", "00100"},      {"2F06", "02f06"},   {"", "00000"}, {"123", "00123"},
               {"1A2B3C", "1a2b3c"}, {"010200", "10200"}, {"1", "00100"}};
  for (const auto& c : cases) EXPECT_EQ(type_key(c.code), c.key) << c.code;
}

TEST_F(Swatches, CellSizesPerKind) {
  set_table(app.s.typ.lines, {"00100"}, {list({"0000ff"})}, {list({"0", "0", "0"})});
  set_table(app.s.typ.polygons, {"00100"}, {list({"0000ff"})}, {list({"0"})});
  set_table(app.s.typ.points, {"00100"}, {list({"0000ff"})}, {list({"$$", "$$"})});
  double cw = 1000 / RecordingSurface::tpp / 32;
  // Lines are 4 cells a row high; points as wide as their picture.
  struct Case {
    int kind, height;
    double ch;
    int columns;
    std::size_t cells;
  } cases[] = {{1, 500, cw * 4, 32, 3 * 32}, {0, 1000, cw, 32, 32}, {2, 1000, cw, 2, 4}};
  for (const auto& c : cases) {
    rows(c.kind, {"01"});
    int events = app.host.events_let_run;
    EXPECT_FALSE(plot(c.kind, 0));
    // Line swatches let window events run after each row.
    EXPECT_EQ(app.host.events_let_run - events, c.kind == 1 ? 3 : 0);
    EXPECT_TRUE(!app.s.f1.p4.visible && app.s.f1.p4.width() == 1000 &&
                app.s.f1.p4.height() == c.height);
    auto fills = app.p4.of(RecordingSurface::Op::Kind::fill);
    ASSERT_EQ(fills.size(), c.cells) << c.kind;
    const auto& last = fills.back();
    double x = c.columns - 1, y = static_cast<int>(c.cells) / c.columns - 1;
    EXPECT_EQ((std::array{last.x1, last.y1, last.x2, last.y2}),
              (std::array{x * cw, y * c.ch, (x + 1) * cw, (y + 1) * c.ch}));
    EXPECT_EQ(app.p4.image().at(1, 1), red);
  }
}

TEST_F(Swatches, DigitColoursOfLinesAndPolygons) {
  const Strings red_blue = {"0000ff", "ff0000"};
  struct Case {
    Strings colours;
    std::string row;
    Colours first;
  } cases[] = {
      {red_blue, "x1", {red, blue, red, red}},  // others are index 0; a short row goes on in 0
      {red_blue, "50", {black, red}},           // no colour 5: black first
      {red_blue, "15", {blue, blue}},           // then the cell before's colour
      // Not six digits, not hexadecimal.
      {{"0000F", "zz0000", "00FF00"}, "012", {black, black, green}},
  };
  for (int kind : {1, 0}) {
    for (const auto& c : cases) {
      auto& t = kind == 1 ? app.s.typ.lines : app.s.typ.polygons;
      set_table(t, {"01600"}, {list(c.colours)}, {list({c.row})});
      rows(kind, {"16"});
      EXPECT_FALSE(plot(kind, 0));
      auto got = cells();
      ASSERT_EQ(got.size(), 32u);
      got.resize(c.first.size());
      EXPECT_EQ(got, c.first) << kind << " " << c.row;
    }
  }
}

TEST_F(Swatches, PointPixelsAreCharacterCodes) {
  Strings many;
  for (int i = 0; i < 40; ++i) many.push_back(i == 16 ? "00ff00" : i == 1 ? "ff0000" : "0000ff");
  Strings thirty_one(many.begin(), many.begin() + 31);
  struct Case {
    Strings colours;
    Strings rows;
    int cpp;
    Colours cells;
  } cases[] = {
      {{"0000ff", "ff0000"}, {"$%&"}, 1, {red, blue, blue}},  // '&' has no colour
      {{"0000ff"}, {" $"}, 1, {black, red}},                  // a blank is below '$'
      {thirty_one, {"$%"}, 1, {red, blue}},
      {many, {"$$$%%$"}, 2, {red, blue, green}},      // two characters: index 0, 1 and 16
      {many, {"$$$", "$"}, 2, {red, red, red, red}},  // a lone character, a short row
  };
  for (const auto& c : cases) {
    set_table(app.s.typ.points, {"02f06"}, {list(c.colours)}, {list(c.rows)});
    rows(2, {"2F06"});
    EXPECT_FALSE(plot(2, 0));
    EXPECT_EQ(app.s.typ.points.cpp[0], c.cpp);
    EXPECT_EQ(cells(), c.cells) << c.rows[0];
  }
}

TEST_F(Swatches, DirectColourPoints) {
  set_table(app.s.typ.points, {"02e08"}, {"W2 2 0 0\" Colormode=24\r\n"},
            {list({"0000ff", "ff0000", "nothex"})});
  rows(2, {"2E08"});
  EXPECT_FALSE(plot(2, 0));
  // Two by two; the cell that is no colour keeps the one before it.
  EXPECT_EQ(cells(), (Colours{red, blue, blue, blue}));
  auto third = app.p4.of(RecordingSurface::Op::Kind::fill).at(2);
  EXPECT_EQ((std::pair{third.x1, third.y1}), (std::pair{0.0, 1000 / RecordingSurface::tpp / 32}));
}

TEST_F(Swatches, MissingTypesAreListedOnce) {
  set_table(app.s.typ.lines, {"00200"}, {list({"0000ff"})}, {list({"0"})});
  rows(1, {"01", "2F06", "01", "02", "2f06"});
  int clears = app.p4.clears;
  std::vector<bool> missing;
  for (int i = 0; i < 5; ++i) missing.push_back(plot(1, i));
  EXPECT_EQ(missing, (std::vector<bool>{true, true, true, false, true}));
  EXPECT_EQ(app.s.f1.Text3.text, "00100\r\n02f06\r\n");
  EXPECT_EQ(app.p4.clears, clears + 1);  // only the found type drew
}

TEST_F(Swatches, LookupRules) {
  // The first exact match wins; point codes are padded in place first.
  set_table(app.s.typ.points, {"400", "00400", "2f06"},
            {list({"0000ff"}), list({"ff0000"}), list({"00ff00"})},
            {list({"$"}), list({"$"}), list({"$"})});
  rows(2, {"0400", "2F06"});
  EXPECT_FALSE(plot(2, 0));
  EXPECT_EQ(cells(), (Colours{red}));
  EXPECT_EQ(app.s.typ.points.type, (Strings{"00400", "00400", "02f06", ""}));
  EXPECT_FALSE(plot(2, 1));
  EXPECT_EQ(cells(), (Colours{green}));
  // Entries at or above the count are not looked at.
  app.s.typ.points.count = 1;
  EXPECT_TRUE(plot(2, 1));
  // A row index outside the result table draws nothing and says missing.
  EXPECT_TRUE(plot(2, 100000));
}

TEST_F(Swatches, TheProjectsExampleFileCoversTheExampleStyle) {
  loadtyp(app.s, app.host, std::string(ZW_SOURCE_DIR) + "/examples/typ/example.txt");
  rows(2, {"2E08", "0400", "6616"});
  EXPECT_FALSE(plot(2, 0));
  EXPECT_EQ(cells()[1], rgb(0x20, 0x60, 0xc0));
  EXPECT_FALSE(plot(2, 1));
  EXPECT_TRUE(plot(2, 2));
  rows(1, {"01"});
  EXPECT_FALSE(plot(1, 0));
  EXPECT_EQ(cells().front(), rgb(0x80, 0x20, 0x10));  // the border row
}

// Files written to hurt: what is kept of an entry, and what its swatch draws,
// stay within what a swatch can show however large the file makes them.
TEST_F(Swatches, HostileSizesAreCutToWhatASwatchShows) {
  auto many = [](std::size_t n, const std::string& line) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += line;
    return out;
  };
  const std::string head = "Type=0x01\r\nXpm=\"32 32 2 1\"\r\n";
  const struct {
    const char* what;
    int kind;
    std::string text;
    std::size_t rows_kept, fills;
  } cases[] = {
      {"line widths of 32767", 1,
       "[_line]\r\nType=0x01\r\nLineWidth=32767\r\nBorderWidth=32767\r\n", 96, 96 * 32},
      {"200,000 polygon rows", 0, "[_polygon]\r\n" + head + many(200'000, "\"0101\"\r\n"), 64,
       32 * 32},
      {"a 1 MB point row", 2, "[_point]\r\n" + head + "\"" + std::string(1 << 20, '%') + "\"\r\n",
       1, 32},
      {"100,000 point colours", 2,
       "[_point]\r\n" + head + many(100'000, "\"$ c #ff0000\"\r\n") + "\"$$\"\r\n", 1, 1},
      {"a direct-colour icon 10^9 wide", 2,
       "[_point]\r\nType=0x01\r\nxpm=\"1000000000 40 0 0\"\r\n" + many(100'000, "\"#ff0000\"\r\n"),
       65536, 32 * 32},
      {"a direct-colour header of 1 MB", 2,
       "[_point]\r\nType=0x01\r\nxpm=\"2 2 " + std::string(1 << 20, '7') + "\"\r\n\"#ff0000\"\r\n",
       1, 4},
  };
  for (const auto& c : cases) {
    app.dir.write("map.txt", c.text);
    loadtyp(app.s, app.host, app.dir.at("map.txt"));
    const auto& t = app.s.typ.of_kind(c.kind);
    ASSERT_EQ(t.count, 1) << c.what;
    auto kept = text::split(t.pixels[0], "\r\n");
    EXPECT_EQ(kept.size() - 1, c.rows_kept) << c.what;
    for (const auto& row : kept) EXPECT_LE(row.size(), 256u) << c.what;
    EXPECT_LE(t.colours[0].size(), 4096u * 8 + 260) << c.what;
    rows(c.kind, {"01"});
    EXPECT_FALSE(plot(c.kind, 0)) << c.what;
    EXPECT_EQ(cells().size(), c.fills) << c.what;
  }
  // Sections past the 16-bit count are not read.
  app.dir.write("map.txt", many(40'000, "[_polygon]\r\n"));
  loadtyp(app.s, app.host, app.dir.at("map.txt"));
  EXPECT_EQ(app.s.typ.polygons.count, 32767);
  EXPECT_EQ(app.s.typ.polygons.pixels.size(), 32768u);
}

// The sort exchanges TYP entries with the rows while the tables are long
// enough; unticking "Sort" reads the file again in file order.
TEST(TypAndSort, EntriesFollowTheRowsUntilSortIsUnticked) {
  auto section = [](const char* kind, int code) {
    return std::string("[_") + kind + "]\r\nType=0x0" + std::to_string(code) + "\r\n[end]\r\n";
  };
  struct Case {
    int kind;
    int lines, polygons;
    bool exchanged;
  } cases[] = {
      {1, 4, 0, true},
      {1, 3, 0, false},  // two rows: below 4 - 1 line entries, not below 3 - 1
      {0, 4, 4, true},
      {0, 0, 4, false},  // polygons also need the line count
  };
  for (const auto& c : cases) {
    TestApp app;
    std::string two_rules = "a [0x01 resolution 22]\nb [0x02 resolution 20]\n";
    app.style("s", {{"options", "levels=0:24\n"}, {"lines", two_rules}, {"polygons", two_rules}});
    std::string typ;
    for (int i = 1; i <= c.polygons; ++i) typ += section("polygon", i);
    for (int i = 1; i <= c.lines; ++i) typ += section("line", i);
    app.dir.write("map.txt", typ);
    app.select("s");
    app.click_kind(c.kind);
    loadtyp(app.s, app.host, app.dir.at("map.txt"));
    auto& t = app.s.typ.of_kind(c.kind);
    Strings file_order = t.type;
    app.s.f1.Check1[0].value = 1;
    app.s.f1.Check2.value = 1;
    app.check();
    ASSERT_EQ(app.s.result_count, 2);
    Strings expected = file_order;
    if (c.exchanged) std::swap(expected[0], expected[1]);
    EXPECT_EQ(t.type, expected) << c.kind << " " << c.lines;
    app.s.f1.Check2.value = 0;
    int runs = app.s.analysis_runs;
    Check2_MouseUp(app.s, app.host);
    EXPECT_EQ(t.type, file_order);
    EXPECT_EQ(app.s.analysis_runs, runs + 1);  // the rows are read again, unsorted
  }
}

}  // namespace
}  // namespace zw
