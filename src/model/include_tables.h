#pragma once
#include <array>
#include <string>

namespace zw {

inline constexpr int include_entries = 51;  // entries 0..50

// The files that a style's rule files include, collected per kind.
struct IncludeTables {
  // Kind digit followed at once by the file's full path.
  std::array<std::string, include_entries> extra_files;
  // Each file's whole text, normalised.
  std::array<std::string, include_entries> extra_texts;
  int extra_count = -1;    // last used entry; -1 when none
  std::string extra_done;  // kind digits whose rule files were searched

  void clear() {
    extra_files.fill({});
    extra_texts.fill({});
    extra_count = -1;
    extra_done.clear();
  }
};

}  // namespace zw
