#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// The fixed indices of the File menu array mf.
namespace file_menu {
inline constexpr int open_style_file = 2;  // switched off
inline constexpr int open_data = 4;
inline constexpr int close_data = 5;
inline constexpr int open_typ = 6;
inline constexpr int about = 8;
inline constexpr int save_image = 10;
inline constexpr int print = 12;  // switched off
inline constexpr int exit = 14;
}  // namespace file_menu

// The file dialog of the File menu: the chosen path with the surrounding blanks
// and every NUL removed, or "" when the user cancels.
std::string file_dialog(Host& host, bool save, const std::string& initial_dir,
                        const std::string& default_name);
// What a file dialog hands back, cleaned as file_dialog returns it.
std::string clean_dialog_path(const std::string& raw);

// The File menu; an index without an item, or with a switched-off item, does nothing.
void mf_Click(AppState& s, Host& host, int index);
// Font > "Change Font".
void mfnt_Click(AppState& s, Host& host);
// Tools menu. Item 0, "Change Resolution to Level": asks for the new style's
// name in the "Convert to Levels" dialog, then converts when a name was given.
void mtls_Click(AppState& s, Host& host, int index);
// Help > "Online Help".
void mhl_Click(AppState& s, Host& host);

// The help page shipped beside the program; it is also the About box's home page.
std::string help_page(const AppState& s);

}  // namespace zw
