#include "walk/window_walk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "app/main_window.h"
#include "app/menus.h"
#include "base/open_document.h"
#include "base/paths.h"
#include "base/std_file_system.h"
#include "base/text.h"

namespace zw::walk {
namespace {

namespace fs = std::filesystem;

// Pixels of a colour in rows top .. bottom (all rows when bottom is 0), in
// columns left .. right (all when right is 0).
int count(const Image& image, Colour c, int top = 0, int bottom = 0, int right = 0) {
  int n = 0;
  for (int y = top; y < (bottom ? bottom : image.height); ++y)
    for (int x = 0; x < (right ? right : image.width); ++x) n += image.at(x, y) == c ? 1 : 0;
  return n;
}

// Controls with handlers that no act of the user reached (a control array
// counts as one; a switched-off menu item or a separator is left out).
std::vector<std::string> never_reached(WindowDriver& d) {
  std::map<std::string, int> reached;
  for (const auto& [c, count] : d.events_reached()) {
    bool handled = !c->on.empty();
    if (auto* item = std::get_if<MenuItem*>(&c->model))
      handled = handled && (*item)->enabled && (*item)->caption != "-";
    if (handled) reached[c->name.substr(0, c->name.find('('))] += count;
  }
  std::vector<std::string> missed;
  for (const auto& [name, count] : reached)
    if (count == 0) missed.push_back(name);
  return missed;
}

std::string unix_lines(const std::string& s) {
  return text::replace_all(s, "\r\n", "\n");
}

}  // namespace

void walk_the_window(WindowDriver& d, const test::TempDir& dir) {
  dir.copy(test::example_style(), "styles/example");
  dir.copy(ZW_SOURCE_DIR "/examples/typ/example.txt", "example.txt");
  for (const char* name : {"alpha", "beta"}) {
    std::string style = std::string("more/") + name + "/";
    dir.write(style + "options", "levels = 0:24, 1:21\n");
    for (const char* kind : {"polygons", "lines", "points"})
      dir.write(style + kind, "natural=water [0x3c resolution 21]\n");
  }
  dir.write("more/gamma/options", "levels = 0:24, 1:20\n");
  dir.write("more/gamma/lines", "highway=primary [0x02 resolution 20]\n");
  dir.write("more/delta/lines", "highway=primary [0x02 resolution 20]\n");  // no options file
  std::string many_rules;
  for (int i = 0; i < 2700; ++i)
    many_rules += "highway=h" + std::to_string(i) + " [0x02 resolution " +
                  std::to_string(12 + i % 12) + "]\n";
  dir.write("more/big/options", "levels = 0:24, 1:18\n");
  dir.write("more/big/lines", many_rules);
  fs::create_directories(to_fs_path(dir.at("prog")));
  const std::string prog = dir.at("prog"), styles = d.native(dir.at("styles"));
  const std::string typ = d.native(dir.at("example.txt"));
  const Colour grid = rgb(220, 220, 220), bar_text = rgb(90, 90, 140);

  auto s = [&]() -> AppState& { return d.state(); };
  auto rows = [&] { return std::stoi("0" + d.text("label1")); };
  auto tick = [&](const std::string& name, bool on = true) {
    if (d.ticked(name) != on) d.click(name);
  };
  auto check = [&] { d.click("command2"); };
  auto only_kind_ticked = [&](int kind) {
    for (int k = 0; k < 3; ++k)
      if (d.ticked("Check3(" + std::to_string(k) + ")") != (k == kind)) return false;
    return s().selected_kind == kind;
  };
  auto open_typ = [&] {
    d.expect_file(typ);
    d.menu(s().f1.mf[file_menu::open_typ]);
  };
  auto ticks = [&] {
    std::string t = "kind " + std::to_string(s().selected_kind) + ": ";
    for (std::size_t i = 0; i < s().f1.Check1.size(); ++i) {
      std::string name = "Check1(" + std::to_string(i) + ")";
      if (s().f1.Check1[i].visible) t += name + (d.ticked(name) ? "+ " : "- ");
    }
    return t + (d.ticked("inc") ? "inc+" : "inc-");
  };
  std::string font;  // chosen in the font dialog
  std::string kept;  // the ticks before Exit

  struct Step {
    const char* what;
    std::function<void()> act;
  };
  const Step steps[] = {
      {"first start in an empty program folder, no style root",
       [&] {
         d.expect_message("Compiling Fonts");
         d.start(prog, "");
         EXPECT_EQ(d.text("Combo2"), "No Styles");
         EXPECT_EQ(text::trim(d.text("f1")), "Zoomwright 2.51");
         EXPECT_TRUE(fs::exists(to_fs_path(dir.at("prog/fonts.dat"))));
         EXPECT_TRUE(fs::exists(to_fs_path(dir.at("prog/system/lines.res"))));
         EXPECT_GT(d.items("Combo1"), 0);
         EXPECT_EQ(d.items("Combo1"), static_cast<int>(s().f1.Combo1.items.size()));
         d.expect_message("Please select style.\r\nClick >> button");
         check();
         d.close();
       }},
      {"a style root on the command line selects its first style, and reports nothing",
       [&] {
         d.start(prog, styles);
         EXPECT_EQ(s().style_root, styles);
         EXPECT_EQ(d.items("Combo2"), 1);
         EXPECT_EQ(d.text("Combo2"), "example");
         EXPECT_EQ(d.text("f1"), "Zoomwright 2.51 example");
         EXPECT_TRUE(text::starts_with(d.text("Label4"), "Levels:0:24")) << d.text("Label4");
       }},
      {"choosing the style shows its levels; the right button reads them again",
       [&] {
         d.choose("Combo2", "example");
         EXPECT_EQ(s().style_name, "example");
         EXPECT_EQ(d.text("Label4"), s().f1.Label4.caption);
         EXPECT_TRUE(text::starts_with(d.text("Label4"), "Levels:0:24")) << d.text("Label4");
         std::string options = dir.read("styles/example/options");
         dir.write("styles/example/options", text::replace_all(options, "0:24", "0:23"));
         d.right_click("Label4");
         EXPECT_TRUE(text::contains(d.text("Label4"), "0:23")) << d.text("Label4");
         dir.write("styles/example/options", options);
         d.right_click("Label4");
         EXPECT_TRUE(text::contains(d.text("Label4"), "0:24")) << d.text("Label4");
       }},
      {"the mouse over a flat button paints its hover look, and off it the normal one",
       [&] {
         d.hover("command2");
         EXPECT_TRUE(s().hover_active);
         EXPECT_EQ(s().f1.command2.draw().image().at(1, 1), rgb(250, 250, 250));
         d.hover("f1");
         EXPECT_FALSE(s().hover_active);
         EXPECT_EQ(s().f1.command2.draw().image().at(1, 1), rgb(230, 230, 230));
         d.hover("com1");
         EXPECT_TRUE(s().hover_active);
       }},
      {"each kind with All and with a category; exactly the kind charted is ticked",
       [&] {
         for (int kind : {0, 2, 1}) {
           SCOPED_TRACE(kind);
           d.click("Check3(" + std::to_string(kind) + ")");
           EXPECT_TRUE(only_kind_ticked(kind));
           EXPECT_EQ(d.text("Check1(1)"), s().f1.Check1[1].caption);
           tick("Check1(0)");
           check();
           int all = rows();
           EXPECT_GT(all, 0);
           EXPECT_EQ(all, s().result_count);
           EXPECT_EQ(d.text("f1"), "Zoomwright 2.51 example");
           EXPECT_GT(count(d.canvas(), grid), 0) << "no grid";
           tick("Check1(1)");  // a category unticks All
           EXPECT_FALSE(d.ticked("Check1(0)"));
           check();
           EXPECT_LT(rows(), all);
           tick("Check1(1)", false);
           tick("Check1(0)");
         }
       }},
      {"Sort, Inc, Show Text and Overview Only redraw the chart",
       [&] {
         check();
         int plain = rows();
         tick("Check2");
         tick("inc");
         EXPECT_GT(rows(), plain);
         EXPECT_NE(d.text("Label6"), "0");  // included files
         auto before = d.canvas().pixels;
         tick("shtxt");
         EXPECT_NE(d.canvas().pixels, before) << "Show Text changed nothing";
         before = d.canvas().pixels;
         int all = rows();
         tick("ovw");
         EXPECT_NE(d.canvas().pixels, before) << "Overview Only changed nothing";
         EXPECT_LT(rows(), all) << "the counter counts rows not drawn";
         tick("ovw", false);
         EXPECT_EQ(rows(), all);
       }},
      {"a click on a scale label narrows the chart to its resolution; Enter in the filter "
       "charts every resolution again",
       [&] {
         int all = rows();
         ASSERT_TRUE(s().f1.Label3[22].visible);
         d.click("Label3(22)");
         EXPECT_LT(rows(), all);
         EXPECT_GT(rows(), 0);
         EXPECT_EQ(s().f1.Label3[22].fore, colours::red);
         d.press_enter("Text2");
         EXPECT_EQ(rows(), all);
       }},
      {"a filter text with Enter",
       [&] {
         int all = rows();
         tick("Check4");
         EXPECT_TRUE(d.enabled("Text2"));
         d.type("Text2", "primary");
         EXPECT_EQ(s().f1.Text2.text, "primary");
         d.press_enter("Text2");
         EXPECT_GT(rows(), 0);
         EXPECT_LT(rows(), all);
         d.type("Text2", "");
         tick("Check4", false);
       }},
      {"a file that is no TYP file says so; a TYP file opened before the chart and after it, "
       "for each kind, lists what it lacks",
       [&] {
         d.expect_file(d.native(dir.at("styles/example/lines")));
         d.expect_any_message();
         d.menu(s().f1.mf[file_menu::open_typ]);
         EXPECT_TRUE(text::starts_with(d.seen().back().text, "No TYP section ("))
             << d.seen().back().text;
         EXPECT_TRUE(text::contains(d.seen().back().text, "lines")) << d.seen().back().text;
         for (int kind : {1, 0, 2}) {
           SCOPED_TRACE(kind);
           d.click("Check3(" + std::to_string(kind) + ")");
           tick("Check1(0)", false);
           open_typ();
           tick("Check1(0)");
           check();
           EXPECT_GT(rows(), 0);
           EXPECT_FALSE(d.text("Text3").empty());
           open_typ();
           EXPECT_TRUE(d.ticked("label2"));
           EXPECT_TRUE(text::contains(d.text("label2"), "example.txt")) << d.text("label2");
           auto shown = unix_lines(d.text("Text3"));
           EXPECT_FALSE(shown.empty());
           EXPECT_EQ(shown, unix_lines(s().f1.Text3.text));
           auto keys = text::split(shown, "\n");
           std::erase(keys, "");
           EXPECT_EQ(keys.size(), std::set<std::string>(keys.begin(), keys.end()).size())
               << "listed twice";
           d.click("Text3");  // clicking into the box keeps what it lists
           EXPECT_EQ(unix_lines(d.text("Text3")), shown);
         }
         EXPECT_TRUE(text::contains(d.text("Text3"), "00b00"));
       }},
      {"the TYP box charts without swatches and with them again",
       [&] {
         tick("label2", false);
         EXPECT_EQ(d.text("Text3"), "");
         tick("label2");
         EXPECT_NE(d.text("Text3"), "");
       }},
      {"Tools > Check against TYP lists the findings, marks their rows and opens a rule at its "
       "line",
       [&] {
         d.click("Check3(1)");
         tick("Check1(0)");
         check();
         // The marks sit left of the swatches, grey for a note.
         auto marked = [&] { return count(d.canvas(), rgb(150, 150, 150), 0, 0, 3); };
         EXPECT_EQ(marked(), 0);
         std::string lines = d.native(dir.at("styles/example/lines"));
         d.expect_dialog("typcheck", [&](DialogHand& h) {
           EXPECT_TRUE(text::starts_with(h.text("Label1"), "0 warnings, 9 notes: example against "))
               << h.text("Label1");
           auto found = h.lines("List1");
           ASSERT_EQ(found.size(), 9u);
           EXPECT_EQ(found[1],
                     "note   lines   0x11   lines:13   missing-type   line type not in the TYP "
                     "file (level 0): the device draws it in its own default look");
           h.double_click_line("List1", 1);
           h.click("Command1");
         });
         // This machine has no editor.
         d.expect_message(cannot_open_message("the rule file", lines));
         ASSERT_TRUE(s().f1.mtls[2].enabled);
         d.menu(s().f1.mtls[2]);
         ASSERT_FALSE(d.opened().empty());
         EXPECT_EQ(d.opened().back(), lines + ":13");
         EXPECT_GT(marked(), 0);
       }},
      {"the wheel and the scroll bar scroll the chart",
       [&] {
         const auto& f = s().f1;
         ASSERT_GT(f.vs.max, 0);
         d.wheel_notch_down("p1");
         EXPECT_GT(f.vs.value, 0);
         EXPECT_LT(f.p1.top, 0);
         // One notch: three rows, as the platforms scroll text.
         double row = static_cast<int>(f.p1.draw().text_height("X")) * 2.5;
         double overflow = f.p1.height() - f.p2.height();
         EXPECT_NEAR(-f.p1.top, std::min(3 * row, overflow), row / 2);
         d.scroll_to_top();
         EXPECT_EQ(f.p1.top, 0);
         d.scroll_line_down();
         EXPECT_EQ(f.vs.value, std::min(f.vs.max, f.vs.small_change));
         d.scroll_to_top();
       }},
      {"a data file counts what each row's rule catches; a double-click lists its examples",
       [&] {
         d.expect_file(d.native(std::string(ZW_SOURCE_DIR) + "/../shared/osm/monaco.osm.pbf"));
         d.menu(s().f1.mf[file_menu::open_data]);
         EXPECT_TRUE(text::contains(s().data.data_file, "monaco.osm.pbf")) << s().data.data_file;
         d.expect_any_message();
         d.double_click("p1", 6, 20);
         ASSERT_FALSE(d.seen().empty());
         EXPECT_TRUE(text::starts_with(d.seen().back().text, "The rule at "))
             << d.seen().back().text;
         d.menu(s().f1.mf[file_menu::close_data]);
         EXPECT_EQ(s().data.data_file, "");
       }},
      {"resizing lays the chart out again, and never hides a control",
       [&] {
         d.resize(1200, 820);
         EXPECT_EQ(d.width("p1"), d.width("f1"));  // the chart spans the window
         d.resize(320, 240);                       // as small as a user drags it
         for (const char* name : {"command2", "Check2", "inc", "Text3", "com1", "label2"})
           EXPECT_TRUE(d.inside_window(name)) << name << " is off the window";
         EXPECT_GT(rows(), 0);
         d.resize(1024, 768);
       }},
      {"a double-click on the levels opens the options file",
       [&] {
         auto options = options_file_path(s());
         d.expect_message(cannot_open_message("the style's options file", options));
         d.double_click("Label4", 2, 2);
         ASSERT_FALSE(d.opened().empty());
         EXPECT_EQ(d.opened().back(), options);
       }},
      {"a category file with more categories than boxes says which were left out; Ctrl+R writes "
       "the default category files again",
       [&] {
         std::string many;
         for (int i = 1; i <= 30; ++i) many += (i > 1 ? "," : "") + ("Cat" + std::to_string(i));
         dir.write("prog/system/points.res", "<mkgmap>points</mkgmap>\n<tag>" + many + "</tag>\n");
         d.expect_any_message();
         d.click("Check3(2)");
         auto said = d.seen().back().text;
         EXPECT_TRUE(text::contains(said, "points.res")) << said;
         EXPECT_TRUE(text::contains(said, "left out: ")) << said;
         EXPECT_TRUE(text::contains(said, "Cat30")) << said;
         d.click("Check3(1)");
         dir.write("prog/system/lines.res", "mine");
         d.ctrl_r();
         EXPECT_NE(dir.read("prog/system/lines.res"), "mine");
         EXPECT_FALSE(text::contains(dir.read("prog/system/points.res"), "Cat30"));
         tick("Check1(0)");
         check();
       }},
      {"the keyboard: Tab in the table's order, a read-only Missing box, Enter on Check",
       [&] {
         auto stops = d.tab_stops();
         ASSERT_GT(stops.size(), 20u);
         EXPECT_EQ(stops.front(), "com1");
         EXPECT_EQ(std::count(stops.begin(), stops.end(), "Combo1"), 0)
             << "the font list only shows the font: it is disabled";
         auto round = d.tab_round(stops.front(), stops.size() + 1);
         stops.push_back(stops.front());
         auto names = [](const std::vector<std::string>& list) {
           std::string all;
           for (const auto& name : list) all += name + " ";
           return all;
         };
         EXPECT_EQ(names(round), names(stops));
         EXPECT_TRUE(d.read_only("Text3"));
         int runs = s().analysis_runs;
         d.focus_and_press_enter("command2");
         EXPECT_EQ(s().analysis_runs, runs + 1);
       }},
      {"the scale labels after the lowest resolution changes: each caption whole, bold where "
       "rules start, painted at once",
       [&] {
         auto check_labels = [&](const char* when) {
           int bold = 0;
           for (int r = s().lowest_resolution; r <= 24; ++r) {
             const auto& label = s().f1.Label3[static_cast<std::size_t>(r)];
             std::string name = "Label3(" + std::to_string(r) + ")";
             EXPECT_EQ(d.text(name), label.caption) << when << r;
             EXPECT_EQ(d.bold(name), label.bold) << when << r;
             EXPECT_TRUE(d.caption_fits(name)) << when << label.caption;
             EXPECT_TRUE(d.painted(name)) << when << r << " left unpainted";
             bold += label.bold;
           }
           EXPECT_GT(bold, 0) << when;
         };
         std::string points = dir.read("styles/example/points");
         dir.write("styles/example/points", points + "natural=peak [0x6616 resolution 5]\n");
         d.click("Check3(2)");
         tick("Check1(0)");
         check();
         ASSERT_EQ(s().lowest_resolution, 5);
         check_labels("lowest 5: ");
         dir.write("styles/example/points", points);
         check();
         check_labels("lowest again: ");
         d.click("Check3(1)");
         tick("Check1(0)");
         check();
       }},
      {"small screens: the window within the work area, every control within reach",
       [&] {
         EXPECT_TRUE(d.within_work_area_when_asked_for(100000, 100000));
         for (const char* name : {"Text3", "p2"})
           EXPECT_TRUE(d.reachable_on_a_small_screen(name)) << name;
         d.resize(1024, 768);
         EXPECT_GT(rows(), 0);
       }},
      {"saving the charted rule file in an editor redraws the chart without a click",
       [&] {
         check();
         int before = rows();
         ASSERT_GT(before, 0);
         const std::string lines = dir.read("styles/example/lines");
         dir.write("styles/example/lines", lines + "\nhighway=busway [0x02 resolution 20]\n");
         EXPECT_TRUE(d.wait_until([&] { return rows() == before + 1; })) << "not followed";
         // Written beside it and renamed over it, as many editors save.
         dir.write("styles/example/lines.new", lines);
         fs::rename(to_fs_path(dir.at("styles/example/lines.new")),
                    to_fs_path(dir.at("styles/example/lines")));
         EXPECT_TRUE(d.wait_until([&] { return rows() == before; }))
             << "not followed after a rename";
       }},
      {"Change Font keeps the chart and draws it in the new face and size",
       [&] {
         int drawn = rows();
         ASSERT_GE(s().f1.Combo1.items.size(), 2u);
         font = s().f1.Combo1.items[1];
         d.expect_dialog("fontt", [&](DialogHand& h) {
           h.set_text("Combo2", "12");
           h.choose("Combo1", font);
           h.click("Command1");
         });
         d.menu(s().f1.mfnt);
         EXPECT_EQ(s().chart_font_size, 12);
         EXPECT_EQ(s().chart_font_name, font);
         EXPECT_EQ(d.chart_font(), font + " 16");
         EXPECT_EQ(rows(), drawn);
         EXPECT_GT(count(d.canvas(), bar_text), 0) << "the rows were wiped";
         EXPECT_FALSE(d.busy_cursor()) << "the busy cursor stayed";
       }},
      {"About, its link, and the help",
       [&] {
         d.expect_dialog("Infor", [](DialogHand& h) {
           EXPECT_TRUE(text::starts_with(h.text("label1"), "Version 2.51")) << h.text("label1");
           h.click("Label2");
           h.click("Command1");
         });
         d.expect_message(cannot_open_message("the home page", help_page(s())));
         d.menu(s().f1.mf[file_menu::about]);
         EXPECT_GT(count(d.canvas(), bar_text), 0) << "the rows were wiped";
         d.expect_message(cannot_open_message("the help page", help_page(s())));
         d.menu(s().f1.mhl);
       }},
      {"Save Image writes the chart as a bitmap or PNG, and asks before replacing it",
       [&] {
         const auto& save = s().f1.mf[file_menu::save_image];
         auto chart = d.native(dir.at("prog/chart"));
         d.expect_file(chart);
         d.menu(save);
         EXPECT_EQ(d.seen().back().title, "Save File");
         EXPECT_EQ(d.seen().back().folder, d.native(s().system_dir));
         Image image = test::read_bmp(dir.read("prog/chart.bmp"));
         Image canvas = d.canvas();
         ASSERT_EQ(image.width, canvas.width);
         int strip = image.height - canvas.height;
         EXPECT_GT(strip, 0) << "no scale strip above the chart";
         EXPECT_GT(count(image, bar_text, strip), 0) << "no rows in the image";
         // The strip carries the scale labels as the window shows them.
         EXPECT_GT(count(image, rgb(100, 200, 100), 0, strip), 0)
             << "no level marks in the image's strip";
         for (auto answer : {Answer::no, Answer::yes}) {
           dir.write("prog/chart.bmp", "old");
           d.expect_file(chart + ".bmp");
           d.expect_message("Replace file?\r\n\r\n" + chart + ".bmp", answer);
           d.menu(save);
           EXPECT_EQ(d.seen().back().default_answer, Answer::no) << "Enter must not replace a file";
           EXPECT_EQ(dir.read("prog/chart.bmp") == "old", answer == Answer::no);
         }
         // A PNG as well; the dialog opens where the last image went.
         fs::create_directories(to_fs_path(dir.at("images")));
         d.expect_file(d.native(dir.at("images/chart.png")));
         d.menu(save);
         EXPECT_EQ(dir.read("images/chart.png").substr(0, 4), "\x89PNG");
         d.expect_file(d.native(dir.at("images/again.png")));
         d.menu(save);
         EXPECT_EQ(d.seen().back().folder, d.native(dir.at("images")));
       }},
      {"Convert to a new style: one question, one summary, the new style selected",
       [&] {
         d.expect_dialog("convert", [](DialogHand& h) {
           h.set_text("Text1", "by levels");  // the blank is dropped
           h.hover("command1(1)");
           h.click("command1(1)");
         });
         d.expect_message("New style : bylevels ", Answer::yes);
         d.expect_any_message();
         int kind = s().selected_kind;
         d.menu(s().f1.mtls[0]);
         auto summary = d.seen().back().text;
         EXPECT_TRUE(text::starts_with(
             summary,
             "The new style " + d.native(dir.at("styles/bylevels")) + ":\r\nNow saving as "))
             << summary;
         EXPECT_TRUE(text::contains(summary, "\r\n\r\nLevels kept for ")) << summary;
         EXPECT_TRUE(fs::exists(to_fs_path(dir.at("styles/bylevels/lines"))));
         EXPECT_EQ(d.items("Combo2"), 2);
         EXPECT_EQ(d.text("Combo2"), "bylevels");
         EXPECT_EQ(s().style_name, "bylevels");
         EXPECT_TRUE(only_kind_ticked(kind));
         // A click on the kind charted keeps it ticked.
         d.click("Check3(" + std::to_string(kind) + ")");
         EXPECT_TRUE(only_kind_ticked(kind));
       }},
      {"a new style root lists its styles and selects its first",
       [&] {
         d.expect_file(d.native(dir.at("more")));
         d.click("com1");
         EXPECT_EQ(d.items("Combo2"), 5);
         EXPECT_EQ(d.text("Combo2"), "alpha");
         EXPECT_EQ(d.text("f1"), "Zoomwright 2.51 alpha");
         d.choose("Combo2", "beta");
         EXPECT_EQ(d.text("Label4"), "Levels:0:24,1:21 + ");
       }},
      {"another style: the scale follows its levels; another kind clears the chart; no options "
       "file, no levels",
       [&] {
         d.click("Check3(1)");
         check();
         EXPECT_EQ(d.text("Label3(21)"), "21 L1");
         d.choose("Combo2", "gamma");
         EXPECT_EQ(d.text("Label4"), "Levels:0:24,1:20 + ");
         check();
         EXPECT_EQ(d.text("Label3(20)"), "20 L1");
         EXPECT_EQ(d.text("Label3(21)"), "21");
         EXPECT_GT(rows(), 0);
         d.click("Check3(0)");
         EXPECT_EQ(rows(), 0);
         EXPECT_EQ(count(d.canvas(), bar_text), 0) << "rows of the other kind are still shown";
         d.click("Check3(1)");
         d.expect_message("Cannot find style's options file\r\n\r\n" +
                          d.native(dir.at("more/delta/options")));
         d.choose("Combo2", "delta");
         EXPECT_EQ(d.text("Label4"), "Levels:");
         d.choose("Combo2", "beta");
       }},
      {"a style of 2,700 rules: every row charted, and saved whole",
       [&] {
         d.choose("Combo2", "big");
         tick("Check1(0)");
         check();
         EXPECT_EQ(rows(), 2700);
         EXPECT_GT(count(d.canvas(), bar_text), 0);
         d.expect_file(d.native(dir.at("images/big.png")));
         d.menu(s().f1.mf[file_menu::save_image]);
         EXPECT_EQ(dir.read("images/big.png").substr(0, 4), "\x89PNG");
         d.choose("Combo2", "beta");
       }},
      {"Exit saves the settings",
       [&] {
         // Kept: the kind the last run worked on, the categories and Inc.
         d.click("Check3(2)");  // a kind other than the one a first start picks
         kept = ticks();
         auto missed = never_reached(d);
         EXPECT_TRUE(missed.empty()) << missed.front() << " was never reached";
         d.menu(s().f1.mf[file_menu::exit]);
         EXPECT_FALSE(d.shown());
         EXPECT_FALSE(dir.read("prog/levels.dat").empty());
       }},
      {"a restart restores the root, the style, the kind, the boxes, the font and the TYP file",
       [&] {
         d.start(prog, "");
         EXPECT_EQ(s().style_root, d.native(dir.at("more")));
         EXPECT_EQ(d.text("Combo2"), "beta");
         EXPECT_EQ(ticks(), kept);
         EXPECT_TRUE(only_kind_ticked(2));
         EXPECT_EQ(s().typ_file, typ);
         EXPECT_EQ(s().chart_font_size, 12);
         EXPECT_EQ(s().chart_font_name, font);
         check();
         EXPECT_GT(rows(), 0);
         d.menu(s().f1.mf[file_menu::exit]);
       }},
  };
  // The steps follow one another: they stop at the first that failed.
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_EQ(d.waiting(), 0u) << "a window the walk waited for did not open";
    auto unexpected = d.unexpected();
    EXPECT_TRUE(unexpected.empty()) << unexpected.front();
    if (::testing::Test::HasFailure()) return;
  }
}

}  // namespace zw::walk
