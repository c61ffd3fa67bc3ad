#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// mkgmap's include statements, as mkgmap reads them in rule files, in the files
// they include and in options: `include` (any letter case), a blank or TAB,
// then a file name in single quotes, in double quotes or bare. The name is
// relative to the style's folder, whichever file holds the statement.
namespace zw {

// The file that one line includes; nullopt when the line is no include
// statement, or one that takes its file from another style ("... from STYLE").
std::optional<std::string> include_statement(std::string_view line);

// The files that the statements of a whole text include, in statement order,
// each name once. A byte-order mark before the first line is skipped.
std::vector<std::string> include_names(std::string_view text);

// No file system takes a longer path: an include name beyond it names no file
// and is passed over, with too_long_include_message, before any path is made.
inline constexpr std::size_t longest_path = 4096;
std::string too_long_include_message(std::string_view name, const std::string& file);

// The text without the UTF-8 byte-order mark at its start, if it has one.
std::string_view without_bom(std::string_view text);

}  // namespace zw
