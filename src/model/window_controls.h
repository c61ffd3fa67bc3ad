#pragma once
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "model/typ_tables.h"

namespace zw {

inline constexpr int category_boxes = 21;  // Check1(0) .. Check1(20)
inline constexpr int scale_labels = 25;    // Label3(0) .. Label3(24)
inline constexpr int check_typ_item = 2;   // Tools > "Check against TYP"
// The face the window's controls are designed for.
inline constexpr const char* control_font = "Arial";
inline constexpr double control_font_points = 8;
// The face of the list of missing types, whose keys line up in columns.
inline constexpr const char* fixed_font = "Courier New";
inline constexpr double fixed_font_points = 9;

// The main window's controls, by their window names, with their design values.
struct MainWindow {
  MainWindow();

  std::string caption;
  int width = 0, height = 0;  // outer size of the window, twips
  // The window shrinks no further than its controls plus this margin at the
  // right, and the scale strip plus a few chart rows and a margin below them.
  static constexpr int edge_margin = 120, min_chart_rows = 1500, chart_margin = 800;
  // That smallest client area (twips, the menu bar not counted): every
  // control stays in the window.
  int min_client_width() const;
  int min_client_height() const;

  PictureBox com1;                              // flat button ">>": choose the style root
  PictureBox command2;                          // flat button "Check": run the analysis
  ComboBox Combo2;                              // style names
  ComboBox Combo1;                              // installed font names
  std::array<CheckBox, 3> Check3;               // kinds: polygons, lines, points
  std::array<CheckBox, category_boxes> Check1;  // categories; 0 is "All"
  CheckBox Check2;                              // "Sort"
  CheckBox Check4;                              // "Include": switches the filter text on
  CheckBox inc;                                 // "Inc": follow included files
  CheckBox ovw;                                 // "Overview Only"
  CheckBox shtxt;                               // "Show Text"
  CheckBox label2;                              // "TYP"
  TextBox Text2;                                // filter text
  TextBox Text3;                                // type keys missing from the TYP file
  std::array<Label, scale_labels> Label3;       // resolution scale labels
  bool scale_labels_created = false;            // Label3(1..24) exist
  Label Label4;                                 // "Levels:"
  Label Label5;                                 // "Missing"
  Label Label6;                                 // include count
  Label label1;                                 // row count
  ListBox List1;
  PictureBox p1, p2, p3, p4;
  ScrollBar vs;
  Timer tm1;
  Timer files_timer;  // waits for an editor to finish saving a followed file

  // Menus: File (mf, by index), Font, Tools (mtls, by index), Help.
  std::array<MenuItem, 15> mf;
  MenuItem mfnt;
  std::array<MenuItem, 3> mtls;  // mtls[check_typ_item]: "Check against TYP"
  MenuItem mhl;

 private:
  // The bounds of each control placed on the window itself, pictures left out.
  void for_each_control(const std::function<void(const Bounds&)>& each) const;
};

// The scale label of a resolution; fails outside Label3(0..24).
Label& scale_label(MainWindow& f, long long resolution);

// The font dialog.
struct FontDialog {
  FontDialog();

  std::string caption = "Font";
  int width = 4860, height = 2280;  // client area, twips
  ComboBox Combo1;                  // font names
  ComboBox Combo2;                  // sizes "6" .. "16"
  Label Label1;                     // preview
  std::string preview_font;
  double preview_size = 10;
  Button Command1{"Close"};
  bool closing = false;  // "Close" was pressed: the binding closes the dialog
};

// The "Convert to Levels" dialog.
struct ConvertDialog {
  ConvertDialog();

  std::string caption = "Convert to Levels";
  int width = 5100, height = 1560;  // client area, twips
  Label label1, Label2, Label3;
  TextBox Text1;
  std::array<PictureBox, 2> command1;  // "Close", "OK"
  bool closing = false;                // a button ended the dialog: the binding closes it
};

// The findings of Tools > "Check against TYP".
struct TypCheckDialog {
  TypCheckDialog();

  std::string caption = "Check against TYP";
  int width = 12000, height = 6000;  // client area, twips
  Label Label1;                      // the summary and the files checked
  ListBox List1;                     // one line per finding
  Button Command1{"Close"};
  bool closing = false;  // "Close" was pressed: the binding closes the dialog

  std::vector<TypFinding> findings;  // what List1 shows, in its order
  std::string style_dir;             // the style checked, with its separator
  std::string typ_file;              // the TYP file checked
  // Kind digit and type key of each type with a finding -> whether one is a
  // warning; the chart marks the rows that draw them.
  std::map<std::string, bool> marks;
};

// The About box.
struct AboutBox {
  AboutBox();

  std::string caption = "Information";
  int width = 5400, height = 3000;  // client area, twips
  // The program's name is written large.
  static constexpr const char* title_font = "Arial";
  static constexpr double title_points = 16;
  Label Label9, label1, Label2;
  Label Label3;  // a fixed line under the program's name
  Button Command1{"OK"};
  bool closing = false;  // "OK" was pressed: the binding closes the box
};

}  // namespace zw
