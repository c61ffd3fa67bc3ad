#include "model/window_controls.h"

#include <algorithm>

#include "base/failure.h"

namespace zw {
namespace {

constexpr Colour panel_grey = rgb(224, 224, 224);
constexpr Colour filter_grey = rgb(245, 245, 245);

void place(Bounds& b, int left, int top, int width, int height) {
  b = {left, top, width, height};
}

CheckBox check(const char* caption, int left, int top, int width) {
  CheckBox box;
  box.caption = caption;
  place(box.bounds, left, top, width, 255);
  return box;
}

Label label(const char* caption, int left, int top, int width) {
  Label l;
  l.caption = caption;
  place(l.bounds, left, top, width, 255);
  return l;
}

}  // namespace

// The window as designed: the positions that start-up and the chart layout do
// not move.
MainWindow::MainWindow() {
  caption = "Zoomwright";
  width = 15360;
  height = 11520;

  com1.left = 120, com1.top = 120, com1.set_size(450, 315), com1.back = rgb(230, 230, 230);
  command2.left = 11750, command2.top = 1060, command2.set_size(1200, 315);
  command2.back = rgb(230, 230, 230);

  Combo2.text = "No Styles";
  place(Combo2.bounds, 660, 120, 2800, 315);
  Combo1.text = "";
  // The chart's font is chosen in the font dialog; this list only shows it.
  Combo1.enabled = false;
  place(Combo1.bounds, 5700, 1640, 2500, 315);

  const char* kinds[3] = {"Polygons", "Lines", "Points"};
  for (int i = 0; i < 3; ++i) Check3[i] = check(kinds[i], 120, 540 + 260 * i, 1250);

  const char* design[7] = {"All", "Motorway", "Trunk", "Primary", "Secondary", "Tertiary", "Track"};
  for (int i = 0; i < category_boxes; ++i)
    Check1[i] = check(design[i % 7], 1500 + 1316 * (i % 7), 540 + 400 * (i / 7), 1200);

  Check2 = check("Sort", 10800, 540, 900);
  Check4 = check("Include", 10800, 800, 900);
  inc = check("Inc", 10800, 1060, 900);
  ovw = check("Overview Only", 11750, 540, 1400);
  shtxt = check("Show Text", 11750, 800, 1400);
  // Its height sets the top of the chart panes: the row above them must fit.
  label2 = check("TYP", 8400, 1640, 4600);
  label2.bounds.height = 315;

  Text2.back = filter_grey;
  place(Text2.bounds, 1500, 1640, 4000, 300);
  Text3.multi_line = true;
  Text3.read_only = true;
  place(Text3.bounds, 13100, 390, 2100, 1250);

  Label4 = label("Levels:", 3600, 150, 7000);
  Label5 = label("Missing", 13100, 120, 2000);
  Label6 = label("0", 10800, 150, 600);
  label1 = label("0", 11500, 150, 1400);
  place(List1.bounds, 15000, 1700, 100, 100);
  // Only ever emptied: out of sight, and out of the way of Tab.
  List1.visible = false;

  p3.left = 15, p3.back = panel_grey, p3.set_size(width - 240, 400);
  p2.left = 15, p2.back = colours::white, p2.set_size(width - 240, 6000);
  p1.back = colours::white, p1.set_size(width - 240, 6000);
  p4.visible = false, p4.back = colours::white, p4.set_size(1000, 1000);
  vs.bounds.width = 255;

  Label3[0] = label("", 0, 0, 500);
  Label3[0].back = panel_grey;
  Label3[0].bounds.height = 400;
  Label3[0].visible = false;

  tm1.interval_ms = 50;
  files_timer.interval_ms = 10;

  mf[2] = {"Open Style  File", false, true};
  mf[4] = {"Open Data file", true, true};
  mf[5] = {"Close Data file", false, true};  // enabled while a data file is open
  mf[6] = {"Open TYP file", true, true};
  mf[7] = {"-", true, true};
  mf[8] = {"About", true, true};
  mf[9] = {"-", true, true};
  mf[10] = {"Save Image", true, true};
  mf[11] = {"-", true, true};
  mf[12] = {"Print", false, true};
  mf[13] = {"-", true, true};
  mf[14] = {"Exit", true, true};
  for (auto& item : mf)
    if (item.caption.empty()) item.visible = false;
  mfnt = {"Change Font", true, true};
  mtls[0] = {"Change Resolution to Level", true, true};
  mtls[1] = {"-", true, true};
  mtls[check_typ_item] = {"Check against TYP", false, true};  // enabled once a TYP file is read
  mhl = {"Online Help", true, true};
}

FontDialog::FontDialog() {
  place(Combo1.bounds, 120, 120, 3480, 315);
  place(Combo2.bounds, 3720, 120, 1020, 315);
  place(Label1.bounds, 120, 600, 4620, 900);
  place(Command1.bounds, 3540, 1740, 1200, 375);
}

ConvertDialog::ConvertDialog() {
  place(label1.bounds, 120, 180, 1200, 255);
  place(Text1.bounds, 1380, 120, 3600, 315);
  place(Label2.bounds, 120, 600, 1200, 255);
  place(Label3.bounds, 1380, 600, 3600, 255);
  Label3.bold = true;  // the style converted
  for (std::size_t i = 0; i < command1.size(); ++i) {
    command1[i].left = 2640 + 1220 * static_cast<int>(i), command1[i].top = 1020;
    command1[i].set_size(1100, 375);
  }
}

TypCheckDialog::TypCheckDialog() {
  place(Label1.bounds, 120, 120, 11760, 500);
  place(List1.bounds, 120, 660, 11760, 4620);
  place(Command1.bounds, 10680, 5460, 1200, 375);
}

AboutBox::AboutBox() {
  // The program's name in its colour, the link in the colour of links.
  Label9.fore = colours::dark_red;
  Label9.bold = true;
  Label2.fore = colours::blue;
  place(Label9.bounds, 240, 180, 4920, 480);
  place(Label3.bounds, 240, 720, 4920, 255);
  place(label1.bounds, 240, 1080, 4920, 900);
  place(Label2.bounds, 240, 2100, 4920, 255);
  place(Command1.bounds, 4080, 2520, 1080, 375);
}

int MainWindow::min_client_width() const {
  int right = 0;
  for_each_control([&](const Bounds& b) { right = std::max(right, b.left + b.width); });
  return right + edge_margin;
}

int MainWindow::min_client_height() const {
  int bottom = 0;
  for_each_control([&](const Bounds& b) { bottom = std::max(bottom, b.top + b.height); });
  return bottom + p3.height() + min_chart_rows + chart_margin;
}

void MainWindow::for_each_control(const std::function<void(const Bounds&)>& each) const {
  for (const auto* button : {&com1, &command2})
    each({button->left, button->top, button->width(), button->height()});
  for (const auto* combo : {&Combo2, &Combo1}) each(combo->bounds);
  for (const auto& box : Check3) each(box.bounds);
  for (const auto& box : Check1) each(box.bounds);
  for (const auto* box : {&Check2, &Check4, &inc, &ovw, &shtxt, &label2}) each(box->bounds);
  for (const auto* text : {&Text2, &Text3}) each(text->bounds);
  for (const auto* label : {&Label4, &Label5, &Label6, &label1}) each(label->bounds);
}

Label& scale_label(MainWindow& f, long long resolution) {
  return bounded(f.Label3, resolution, "Label3");
}

}  // namespace zw
