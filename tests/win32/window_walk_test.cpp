// A walk of the real Win32 window, as a user goes through it: the test sends
// the window the messages that a user's clicks and keys produce, and answers
// the message boxes and dialogs that come up as a user would. Each step checks
// the model and what the controls show.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/main_window.h"
#include "app/menus.h"
#include "base/paths.h"
#include "base/text.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/gdi_surface.h"
#include "platform/win32/main_window_view.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_host.h"
#include "support/test_app.h"
#include "win32/modal_driver.h"

#include <commctrl.h>

namespace zw {
namespace {

namespace fs = std::filesystem;
using test::ModalDriver;
using test::text_of;

// The program as a user starts it: a program folder of its own, the command
// line, the window shown and its first activation run.
struct Program {
  Program(const std::string& app_dir, const std::string& command_line) {
    s.app_dir = app_dir;
    s.command_line = command_line;
    view = std::make_unique<win32::MainWindowView>(s, host, host.twips_per_pixel());
    host.set_window(view.get());
    Form_Load(s, host);
    view->sync();
    view->show();
    test::pump_for(300);  // the first activation
  }
  ~Program() { host.set_window(nullptr); }

  HWND control(const std::string& name) const {
    HWND w = view->control(name);
    if (!w) ADD_FAILURE() << "no control " << name;
    return w;
  }
  // The clicks and keys of a user, as the controls report them.
  void click(const std::string& name) { SendMessageW(control(name), BM_CLICK, 0, 0); }
  // A picture box or a label, which report the mouse itself.
  void click_picture(const std::string& name) {
    SendMessageW(control(name), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(control(name), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  }
  void choose(const std::string& combo, int index) {
    HWND w = control(combo);
    SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(w));
  }
  void menu(const MenuItem& item) {
    SendMessageW(view->hwnd(), WM_COMMAND, MAKEWPARAM(view->menu_id(item), 0), 0);
  }
  bool ticked(const std::string& name) {
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  // Colours of the chart canvas that only bars are drawn in.
  int bar_pixels() {
    Image img = s.f1.p1.draw().image();
    int n = 0;
    for (const auto& c : img.pixels) n += c == colours::dark_red || c == rgb(0, 128, 0);
    return n;
  }

  AppState s;
  win32::Win32Host host;
  std::unique_ptr<win32::MainWindowView> view;
};

// A click on a control of the open dialog, posted, as the dialog's own loop
// takes it.
void post_click(const std::string& name) {
  PostMessageW(win32::open_dialog_control(name), BM_CLICK, 0, 0);
}

void post_picture_click(const std::string& name) {
  HWND w = win32::open_dialog_control(name);
  PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

TEST(Win32Window, AUserWalksThroughTheWindowAndARestartRestoresTheSettings) {
  test::TempDir dir;
  std::string font;  // chosen in the font dialog
  // The example style and its TYP file, copied: the walk converts the style.
  dir.copy(test::example_style(), "styles/example");
  dir.copy(ZW_SOURCE_DIR "/examples/typ/example.txt", "example.txt");
  fs::create_directories(to_fs_path(dir.at("app")));
  const std::string styles = test::windows_path(dir.at("styles"));
  ModalDriver user;

  {
    // First start in an empty program folder: the fonts are compiled.
    Program p(dir.at("app"), "");
    auto& f = p.s.f1;
    EXPECT_TRUE(fs::exists(to_fs_path(dir.at("app/system/lines.res"))));
    EXPECT_TRUE(fs::exists(to_fs_path(dir.at("app/fonts.dat"))));
    EXPECT_EQ(text_of(p.control("Combo2")), "No Styles");
    EXPECT_EQ(text_of(p.view->hwnd()), "Zoomwright 2.51 ");
    ASSERT_FALSE(f.Combo1.items.empty());
    EXPECT_EQ(SendMessageW(p.control("Combo1"), CB_GETCOUNT, 0, 0),
              static_cast<LRESULT>(f.Combo1.items.size()));

    // ">>" asks for the style root; the styles under it fill the list, and
    // the first is selected.
    user.then(ModalDriver::choose_folder(styles));
    p.click_picture("com1");
    EXPECT_EQ(p.s.style_root, styles);
    ASSERT_EQ(f.Combo2.items, std::vector<std::string>{"example"});
    EXPECT_EQ(SendMessageW(p.control("Combo2"), CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(text_of(p.view->hwnd()), "Zoomwright 2.51 example");

    // Choosing the style reads its levels.
    p.choose("Combo2", 0);
    EXPECT_EQ(p.s.style_name, "example");
    EXPECT_EQ(text_of(p.control("Label4")), f.Label4.caption);
    EXPECT_TRUE(text::contains(f.Label4.caption, "0:24")) << f.Label4.caption;
    // The right button on the levels reads the style's options file again.
    std::string options = dir.read("styles/example/options");
    dir.write("styles/example/options", text::replace_all(options, "0:24", "0:23"));
    SendMessageW(p.control("Label4"), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    EXPECT_TRUE(text::contains(text_of(p.control("Label4")), "0:23"))
        << text_of(p.control("Label4"));
    dir.write("styles/example/options", options);
    SendMessageW(p.control("Label4"), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));

    // The mouse over a flat button paints its hover look, and off it the normal one.
    SendMessageW(p.control("command2"), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(p.s.hover_active && f.command2.draw().image().at(1, 1) == rgb(250, 250, 250));
    SendMessageW(p.view->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(600, 10));
    EXPECT_TRUE(!p.s.hover_active && f.command2.draw().image().at(1, 1) == rgb(230, 230, 230));

    // Lines, All, Check: the chart is drawn.
    p.click("Check3(1)");
    EXPECT_TRUE(p.s.selected_kind == 1 && p.ticked("Check3(1)") && !p.ticked("Check3(0)"));
    EXPECT_EQ(text_of(p.control("Check1(1)")), f.Check1[1].caption);
    p.click("Check1(0)");
    EXPECT_TRUE(f.Check1[0].value == 1 && p.ticked("Check1(0)"));
    p.click("inc");
    p.click_picture("command2");
    EXPECT_GT(p.s.result_count, 10);
    EXPECT_EQ(text_of(p.control("label1")), text::decimal(p.s.result_count));
    EXPECT_GT(p.bar_pixels(), 100);
    // Overview Only redraws the chart at once.
    auto before = f.p1.draw().image().pixels;
    p.click("ovw");
    EXPECT_TRUE(f.p1.draw().image().pixels != before) << "Overview Only changed nothing";
    p.click("ovw");

    // A scale label narrows the chart to its resolution and turns red.
    int all_rows = p.s.result_count;
    p.click_picture("Label3(16)");
    EXPECT_TRUE(p.s.result_count > 0 && p.s.result_count < all_rows) << p.s.result_count;
    EXPECT_EQ(f.Label3[16].fore, colours::red);
    // The filter text with Enter runs the analysis again, over every resolution.
    SendMessageW(p.control("Text2"), WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(p.s.result_count, all_rows);

    // Made as small as the user drags it, the window still shows every control,
    // and the model follows its size.
    SetWindowPos(p.view->hwnd(), nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    RECT client, missing;
    GetClientRect(p.view->hwnd(), &client);
    GetWindowRect(p.control("Text3"), &missing);
    MapWindowPoints(nullptr, p.view->hwnd(), reinterpret_cast<POINT*>(&missing), 2);
    EXPECT_TRUE(missing.right <= client.right && missing.bottom <= client.bottom);
    RECT outer;
    GetWindowRect(p.view->hwnd(), &outer);
    EXPECT_NEAR(f.width, (outer.right - outer.left) * p.host.twips_per_pixel(), 1);
    SetWindowPos(p.view->hwnd(), nullptr, 0, 0, 1024, 768, SWP_NOMOVE | SWP_NOZORDER);

    // The scroll bar's arrow scrolls the canvas.
    if (f.vs.max > 0) {
      SendMessageW(p.control("p2"), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0),
                   reinterpret_cast<LPARAM>(p.control("vs")));
      EXPECT_EQ(f.vs.value, std::min(f.vs.max, f.vs.small_change));
    }

    // File > Open TYP file: the TYP box is ticked and the missing types listed.
    user.then(ModalDriver::type_file_name(test::windows_path(dir.at("example.txt"))));
    p.menu(f.mf[file_menu::open_typ]);
    EXPECT_TRUE(f.label2.value == 1 && p.ticked("label2"));
    EXPECT_TRUE(text::contains(text_of(p.control("label2")), "example.txt"));
    EXPECT_FALSE(f.Text3.text.empty());
    EXPECT_EQ(text_of(p.control("Text3")), f.Text3.text);

    // File > Save Image: the name without extension gets ".bmp"; saving again
    // asks before replacing, and No keeps the file.
    const std::string image = test::windows_path(dir.at("chart"));
    user.then(ModalDriver::type_file_name(image));
    p.menu(f.mf[file_menu::save_image]);
    std::string saved = dir.read("chart.bmp");
    ASSERT_GT(saved.size(), 54u);
    EXPECT_EQ(saved.substr(0, 2), "BM");
    user.then(ModalDriver::type_file_name(image + ".bmp"));
    user.then(ModalDriver::press(IDNO));
    p.s.f1.p1.draw().fill_rect(0, 0, 3000, 3000, colours::blue);
    p.menu(f.mf[file_menu::save_image]);
    EXPECT_EQ(dir.read("chart.bmp"), saved);
    EXPECT_TRUE(text::contains(user.seen.back(), "Replace file?")) << user.seen.back();

    // File > About shows the version; OK closes it.
    user.then([](HWND) {
      EXPECT_TRUE(text::starts_with(text_of(win32::open_dialog_control("label1")), "Version 2.51"));
      post_click("Command1");
    });
    p.menu(f.mf[file_menu::about]);
    EXPECT_TRUE(text::starts_with(user.seen.back(), "Information"));

    // Font > Change Font: a size and a font chosen, Close applies them.
    ASSERT_GE(f.Combo1.items.size(), 2u);
    font = f.Combo1.items[1];
    user.then([font](HWND) {
      HWND size = win32::open_dialog_control("Combo2");
      SetWindowTextW(size, L"12");
      SendMessageW(GetParent(size), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(size), CBN_EDITCHANGE),
                   reinterpret_cast<LPARAM>(size));
      HWND name = win32::open_dialog_control("Combo1");
      LRESULT at = SendMessageW(name, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(win32::shown(font).c_str()));
      SendMessageW(name, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
      SendMessageW(GetParent(name), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(name), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(name));
      post_click("Command1");
    });
    p.menu(f.mfnt);
    EXPECT_EQ(p.s.chart_font_size, 12);
    EXPECT_EQ(p.s.chart_font_name, font);
    auto* canvas = dynamic_cast<win32::GdiSurface*>(&f.p1.draw());
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(canvas->font_name() == win32::shown(font) && canvas->font_pixels() == 16);

    // Tools > Change Resolution to Level: a name typed (the blank is dropped),
    // OK, Yes, then one summary: the new style is written beside the old one,
    // listed and selected with the kind charted, that kind alone ticked.
    user.then([](HWND) {
      HWND name = win32::open_dialog_control("Text1");
      SetWindowTextW(name, L"");
      for (wchar_t c : std::wstring(L"wal ked")) PostMessageW(name, WM_CHAR, c, 0);
      post_picture_click("command1(1)");
    });
    user.then(ModalDriver::press(IDYES));
    user.then(ModalDriver::press(IDOK));
    p.menu(f.mtls[0]);
    EXPECT_TRUE(user.done());
    EXPECT_TRUE(fs::exists(to_fs_path(dir.at("styles/walked/lines"))));
    EXPECT_EQ(SendMessageW(p.control("Combo2"), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(p.s.style_name, "walked");
    EXPECT_TRUE(p.s.selected_kind == 1 && p.ticked("Check3(1)") && !p.ticked("Check3(0)"));
    // A click on the kind charted keeps it ticked.
    p.click("Check3(1)");
    EXPECT_TRUE(p.s.selected_kind == 1 && p.ticked("Check3(1)"));
    p.choose("Combo2", 0);
    EXPECT_EQ(p.s.style_name, "example");

    // Ctrl+R writes the default category files again over the user's.
    dir.write("app/system/lines.res", "mine");
    SendMessageW(p.view->hwnd(), WM_COMMAND, MAKEWPARAM(win32::MainWindowView::ctrl_r_command, 1),
                 0);
    EXPECT_NE(dir.read("app/system/lines.res"), "mine");

    // Saving the charted rule file in an editor redraws the chart without a
    // click: written in place, then written beside it and renamed over it.
    {
      p.click_picture("command2");
      int rows = p.s.result_count;
      ASSERT_GT(rows, 0);
      const std::string lines = dir.read("styles/example/lines");
      auto follows = [&](int expected) {
        for (int waited = 0; waited < 5000 && p.s.result_count != expected; waited += 20)
          test::pump_for(20);
        return p.s.result_count == expected &&
               text_of(p.control("label1")) == std::to_string(expected);
      };
      dir.write("styles/example/lines", lines + "\nhighway=busway [0x02 resolution 20]\n");
      EXPECT_TRUE(follows(rows + 1));
      dir.write("styles/example/lines.new", lines);
      fs::rename(to_fs_path(dir.at("styles/example/lines.new")),
                 to_fs_path(dir.at("styles/example/lines")));
      EXPECT_TRUE(follows(rows));
    }

    // File > Exit closes the window, which saves the settings.
    p.menu(f.mf[file_menu::exit]);
    EXPECT_TRUE(p.view->closed());
    EXPECT_FALSE(dir.read("app/levels.dat").empty());
  }

  {
    // A restart restores the style, the kind, the boxes, the font and the TYP file.
    Program p(dir.at("app"), "");
    auto& f = p.s.f1;
    EXPECT_EQ(p.s.style_root, styles);
    EXPECT_TRUE(p.s.style_name == "example" && text_of(p.control("Combo2")) == "example");
    EXPECT_TRUE(p.s.selected_kind == 1 && p.ticked("Check3(1)"));
    EXPECT_TRUE(f.Check1[0].value == 1 && p.ticked("Check1(0)") && p.ticked("inc"));
    EXPECT_TRUE(p.s.chart_font_name == font && p.s.chart_font_size == 12);
    EXPECT_TRUE(text::contains(p.s.typ_file, "example.txt"));
    p.click_picture("command2");
    EXPECT_GT(p.bar_pixels(), 100);
    p.menu(f.mf[file_menu::exit]);
  }
  EXPECT_TRUE(user.done());
  EXPECT_EQ(user.unexpected, std::vector<std::string>{});
  for (const auto& w : user.seen) std::printf("came up: %s\n", w.c_str());
}

}  // namespace
}  // namespace zw
