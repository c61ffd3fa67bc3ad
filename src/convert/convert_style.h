#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

// Writes a copy of the selected style under new_style_name, beside it in
// style_root, with every "resolution " replaced by the level that the style's
// own level table gives for it. The source style is only read.
namespace zw {

// How a conversion ended.
enum class Converted {
  refused,     // a check, or the answer to its question, stopped it before anything was written
  whole,       // the new style was written whole
  incomplete,  // some file or folder could not be written; each was named in a message
};

// The conversion itself, without the refresh: the checks, the copied files and
// the rewritten rule and included files.
Converted convert_style(AppState& s, Host& host);

// The rewriting of one file's text: every "resolution " and the resolution after
// it become "level " and the level (or range of levels). Each message it shows
// ("Check this", "OOps...") goes to the host.
std::string resolutions_to_levels(const AppState& s, Host& host, const std::string& text);

}  // namespace zw
