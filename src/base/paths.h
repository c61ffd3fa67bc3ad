#pragma once
#include <string>
#include <string_view>

// Paths are joined with the host's separator (backslash on Windows, slash
// elsewhere); cutting a path accepts either separator.
namespace zw::paths {

#ifdef _WIN32
inline constexpr char separator = '\\';
#else
inline constexpr char separator = '/';
#endif
inline constexpr char sep_text[] = {separator, '\0'};

inline bool is_separator(char c) {
  return c == '/' || c == '\\';
}

// a + separator + b, with doubled separators collapsed.
std::string join(std::string_view a, std::string_view b);
// Every run of separators becomes one host separator (a leading "\\" of a
// Windows network path is kept).
std::string collapse(std::string_view path);
// Either separator becomes the host's.
std::string to_host(std::string_view path);
// The path with "." and ".." resolved as text, in host separators, without
// looking at the disk: two names of one file compare equal however they
// climb. A ".." above the start of a relative path is kept; above the root
// of an absolute one, dropped.
std::string normal(std::string_view path);

// Cuts a path at its last separator:
//   0: up to and including it (the whole path when there is none);
//   1: the text after it (the whole path when there is none);
//   2: the name of the directory that holds the last component (the whole path
//      when it has no separator; "" when only one separator);
//   other: as 2, but the text before that name's separator.
std::string part(std::string_view path, int mode);

}  // namespace zw::paths
