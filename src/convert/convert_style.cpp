#include "convert/convert_style.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/includes.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text_files.h"
#include "base/text.h"
#include "convert/target_folder.h"
#include "levels/options_file.h"

namespace zw {
namespace {

const std::string sep = paths::sep_text;

std::string source_dir(const AppState& s) {
  return paths::collapse(s.style_root + sep + s.style_name);
}

// Where the resolution text at the start of s ends (from 1); 0 when nothing ends it.
int resolution_end(const std::string& s) {
  int b = text::find(s, "]");
  int p = text::find(s, " ");
  int o = text::find(s, "{");
  if (o == 0) o = text::find(s, "(");
  int e = 0;
  if (b > 0 && p > 0)
    e = std::min(b, p);
  else if (b > 0)
    e = o > 0 ? o : b;
  else
    e = o > 0 ? o : p;
  // A resolution is one word on one line. It must not swallow the rule's
  // closing bracket, nor a line break and the start of the next line: a comment
  // that ends in "resolution 24" would otherwise take the rule below it along.
  for (const char* stop : {"]", "\t", "\r", "\n"}) {
    int at = text::find(s, stop);
    if (at > 0 && (e == 0 || at < e)) e = at;
  }
  return e;
}

// What one conversion has done so far.
struct Conversion {
  explicit Conversion(TargetFolder folder) : target(std::move(folder)) {}
  TargetFolder target;
  std::vector<std::string> outside;  // included files outside the style's folder
  int copied = 0;                    // files copied as they are
  // Folders entered, by where they really are: a folder that links lead to
  // by many names is copied once.
  std::unordered_set<std::string> folders;
};

// Runs one step of the conversion; a failure is shown and leaves the new
// style incomplete.
template <class Step>
void step(Host& host, Conversion& c, Step&& run) {
  bool done = false;
  attempt(host, [&] {
    run();
    done = true;
  });
  if (!done) c.target.failed();
}

// The path of a file of the source style relative to the style's folder, as
// components; nullopt when it lies outside the folder.
std::optional<std::vector<std::string>> inside_name(const AppState& s, const std::string& path) {
  auto base = paths::normal(source_dir(s));
  auto full = paths::normal(path);
  std::string prefix = base == "." ? "" : base + sep;
  if (!text::starts_with(full, prefix) || full.size() == prefix.size()) return std::nullopt;
  auto parts = text::split(full.substr(prefix.size()), sep);
  if (parts.empty() || parts[0] == "..") return std::nullopt;
  return parts;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : sep) + p;
  return out;
}

// Copies a file unless the target has something of that name already, or it
// was written in this conversion. Only a regular file is copied: a pipe, a
// device or a file of the system's tables would be read as nothing. With
// empty_is_missing, an empty file there counts as none: it is what a
// conversion that failed once may have left.
void copy_new(Host& host, Conversion& c, const std::string& from, const std::string& to,
              bool empty_is_missing = false) {
  auto& fs = host.fs();
  if (c.target.claimed(to)) return;
  auto there = fs.entry(to);
  bool missing = there == FileSystem::Entry::none ||
                 (empty_is_missing && there == FileSystem::Entry::file && fs.file_size(to) == 0);
  if (!missing) return;
  auto what = fs.entry(from);
  if (what == FileSystem::Entry::other) host.message(not_a_file_message(from));
  if (what != FileSystem::Entry::file) return;
  c.target.claim(to);
  ++c.copied;
  c.target.copy(from, to);
}

constexpr int deepest_folder = 16;
constexpr int most_copied = 10'000;
constexpr std::size_t most_folders = 2'000;

// Whether dir leads back to a folder being copied (a link to the style's
// folder or above it), which would be copied into itself again and again.
bool leads_back(FileSystem& fs, const std::string& dir, const std::vector<std::string>& copying) {
  return std::any_of(copying.begin(), copying.end(), [&](const std::string& folder) {
    auto where = overlap(fs, dir, folder);
    return where != Overlap::apart && where != Overlap::source_inside;
  });
}

// Copies what the new style lacks of the source folder, folder by folder.
// Linked folders are followed, except back into the folders being copied, and
// the depth and the number of files are bounded; a folder that is, holds or
// lies in the new style is passed over. copying: from and the folders above it.
void copy_folder(Host& host, Conversion& c, const std::string& from, const std::string& to,
                 std::vector<std::string>& copying) {
  auto& fs = host.fs();
  // A folder that cannot be read leaves the copy without its files.
  auto unreadable = fs.list_error(from);
  if (!unreadable.empty()) {
    host.message("Not copied: " + unreadable);
    c.target.failed();
    return;
  }
  for (const auto& name : fs.list_files(from, "*")) {
    if (c.copied >= most_copied) {
      host.message("Not copied: " + paths::join(from, name) +
                   " and the files after it, as the style has more than " +
                   std::to_string(most_copied) + " files.");
      c.target.failed();
      return;
    }
    step(host, c, [&] { copy_new(host, c, paths::join(from, name), paths::join(to, name)); });
  }
  for (const auto& dir : fs.list_dirs(from)) {
    if (overlap(fs, dir, c.target.path()) != Overlap::apart) {
      host.message("Not copied, as it leads into the new style or holds it: " + dir);
      continue;
    }
    if (leads_back(fs, dir, copying)) {
      host.message("Not copied, as it leads back to a folder that holds it: " + dir);
      continue;
    }
    if (static_cast<int>(copying.size()) > deepest_folder) {
      host.message("Not copied, as it lies more than " + std::to_string(deepest_folder) +
                   " folders deep: " + dir);
      c.target.failed();
      continue;
    }
    auto real = fs.real_path(dir);
    if (!c.folders.insert(paths::normal(real.empty() ? dir : real)).second) continue;
    if (c.folders.size() > most_folders) {
      host.message("Not copied: " + dir + " and the folders after it, as the style has more than " +
                   std::to_string(most_folders) + " folders.");
      c.target.failed();
      return;
    }
    auto into = paths::join(to, paths::part(dir, 1));
    if (!c.target.own_folder(into)) continue;
    copying.push_back(dir);
    copy_folder(host, c, dir, into, copying);
    copying.pop_back();
    if (c.copied >= most_copied) return;
  }
}

// The text cut at every "resolution" followed by a blank or a TAB, which go.
std::vector<std::string> split_at_resolutions(const std::string& text) {
  constexpr std::string_view keyword = "resolution";
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (auto at = text.find(keyword); at != std::string::npos; at = text.find(keyword, at + 1)) {
    auto end = at + keyword.size();
    if (end >= text.size() || (text[end] != ' ' && text[end] != '\t')) continue;
    parts.push_back(text.substr(from, at - from));
    from = end + 1;
    at = end;
  }
  if (!text.empty()) parts.push_back(text.substr(from));
  return parts;
}

bool has_resolution(const std::string& text) {
  return split_at_resolutions(text).size() > 1;
}

// One folder name: no separator, and neither "." nor "..", which would put the
// new style's files into the style root or above it.
bool is_style_name(const std::string& name) {
  return name != "." && name != ".." && std::none_of(name.begin(), name.end(), paths::is_separator);
}

}  // namespace

std::string resolutions_to_levels(const AppState& s, Host& host, const std::string& text) {
  auto parts = split_at_resolutions(text);
  if (parts.empty()) return {};
  std::string out = parts[0];
  for (std::size_t i = 1; i < parts.size(); ++i) {
    auto& part = parts[i];
    // A part that cannot be converted keeps its text and the rest go on.
    attempt(host, [&] {
      // Blanks and TABs between the keyword and its value are dropped.
      auto from_value = part.substr(std::min(part.size(), part.find_first_not_of(" \t")));
      auto t = text::trim(from_value);
      int e = resolution_end(t);
      if (e > 0) {
        part = convertrl(s, text::left(t, e - 1)) + " " + text::mid(from_value, e);
        return;
      }
      if (num::val(part) == 0) host.message("OOps" + part);
      host.message("Check this");
      part = convertrl(s, t) + " ";
    });
    out += "level " + part;
    host.do_events();
  }
  return out;
}

namespace {

// Rewrites one file of the source style into the new style. path is the file's
// full path; an included file (include_file) keeps its path relative to the
// source style folder. A file with nothing to convert is copied as it is.
void res_2_lev(AppState& s, Host& host, Conversion& c, const std::string& path, bool include_file,
               const std::string& content) {
  std::vector<std::string> parts{paths::part(path, 1)};
  if (include_file) {
    auto inside = inside_name(s, path);
    if (!inside) {
      c.outside.push_back(path);
      return;
    }
    parts = *inside;
  }
  auto name = joined(parts);
  host.do_events();
  auto out = c.target.at(parts);
  // A rule file that is also included keeps its conversion as a rule file.
  if (!c.target.claim(out)) return;

  if (out == paths::collapse(path)) {
    host.message("Target and source are the same ! Cannot continue:");
    return;
  }

  if (!has_resolution(content)) {
    host.message("None here" + name);
    // Nothing to convert, yet the new style needs the file all the same: its
    // include statements name it, or it holds the level rules of a kind.
    if (host.fs().entry(path) == FileSystem::Entry::file && c.target.own_folders_for(parts))
      c.target.copy(path, out);
    return;
  }

  // A rewriting that breaks off writes nothing, rather than a part of the file.
  std::optional<std::string> result;
  attempt(host, [&] { result = resolutions_to_levels(s, host, content); });
  if (!result) {
    c.target.failed(out);
    return;
  }
  host.message("Now saving as " + out);
  if (c.target.own_folders_for(parts)) c.target.write(out, *result);
}

// The file's text, or nothing when it cannot be read (its message shown).
std::string read_source(Host& host, const std::string& path) {
  std::string content;
  attempt(host, [&] { content = loadtext(host, path); });
  return content;
}

// One message for every included file that lies outside the style's folder.
void name_outside(Host& host, const Conversion& c) {
  if (c.outside.empty()) return;
  std::string list;
  for (const auto& path : c.outside) list += (list.empty() ? "" : ", ") + path;
  host.message(
      "Neither copied nor converted, as they lie outside the style's folder (the new style "
      "finds them by the same names): " +
      list);
}

}  // namespace

Converted convert_style(AppState& s, Host& host) {
  auto& fs = host.fs();
  // Copied: events that run meanwhile may open the dialog again.
  const std::string name = s.new_style_name;
  if (name.empty()) return Converted::refused;
  if (s.levels.main_level_last < 1) {
    host.message("Only one resolution");
    return Converted::refused;
  }
  if (text::lower(s.style_name) == text::lower(name)) {
    host.message("Target and source are the same ! Cannot continue:");
    return Converted::refused;
  }
  auto source = source_dir(s);
  auto target = paths::collapse(s.style_root + sep + name);
  // Nothing is asked or written for a conversion that cannot succeed.
  auto options = paths::join(source, "options");
  if (!fs.file_exists(options)) {
    host.message("Cannot find style's options file\r\n\r\n" + options);
    return Converted::refused;
  }
  if (!is_style_name(name)) {
    host.message("Cannot create the new style's folder " + target +
                 "\r\n\r\nA style's name is one folder name.");
    return Converted::refused;
  }
  // Compared where links, "." and ".." lead: a new style written into its
  // source, or around it, would rewrite the source's own files.
  auto refusal = overlap_refusal(fs, source, target);
  if (!refusal.empty()) {
    host.message(refusal);
    return Converted::refused;
  }

  if (fs.dir_exists(target)) {
    auto answer = host.message(name + " exists.  Are you sure you want to replace " + name,
                               Buttons::yes_no_cancel);
    if (answer != Answer::yes) return Converted::refused;
  } else {
    std::string error;
    if (!fs.create_dir(target, error)) {
      host.message("Cannot create the new style's folder " + target +
                   (error.empty() ? "" : "\r\n\r\n" + error));
      return Converted::refused;
    }
  }

  // A file that the target already has is kept: converting twice keeps the
  // options, info and version of the first time.
  Conversion c{TargetFolder(host, target)};
  for (const char* file : {"options", "info", "version"}) {
    step(host, c, [&] {
      auto from = paths::join(source, file);
      if (std::string(file) != "options" && fs.entry(from) == FileSystem::Entry::none)
        host.message("The style has no " + std::string(file) + " file (" + from +
                     "), so the new style has none.");
      copy_new(host, c, from, paths::join(target, file), true);
    });
  }
  step(host, c, [&] { c.target.own_folder(paths::join(target, "inc")); });

  // The kind the window charts is the one it charted before: the search of
  // each kind's includes below must not leave another one selected.
  struct KeepKind {
    AppState& s;
    std::int16_t kind;
    ~KeepKind() { s.selected_kind = kind; }
  } keep{s, s.selected_kind};
  s.selected_kind = 0;
  s.includes.extra_count = -1;
  s.f1.Label6.caption = text::decimal(0);
  for (int kind = 0; kind < 3; ++kind) {
    // Read once: the include search takes the same text.
    auto path = source + sep + kind_name(kind);
    auto rules = read_source(host, path);
    step(host, c, [&] { res_2_lev(s, host, c, path, false, rules); });
    step(host, c, [&] {
      s.scan_busy = false;
      chknodata(s, host, kind, &rules);
    });
  }

  int last = s.includes.extra_count;
  host.message("Extras=" + std::string(last >= 0 ? " " : "") + text::decimal(last));
  for (int j = 0; j <= last; ++j) {
    step(host, c, [&] {
      const auto& entry = bounded(s.includes.extra_files, j, "extra_files");
      if (entry.empty()) return;
      host.do_events();
      auto path = entry.substr(1);
      res_2_lev(s, host, c, path, true, read_source(host, path));
    });
  }
  name_outside(host, c);
  // Everything else of the style comes along as it is: the relations and
  // overlays files, the files that relations includes, notes, pictures.
  step(host, c, [&] {
    std::vector<std::string> copying{source};
    auto real = fs.real_path(source);
    c.folders.insert(paths::normal(real.empty() ? source : real));
    copy_folder(host, c, source, target, copying);
  });

  int failures = c.target.failures();
  if (failures == 0) return Converted::whole;
  host.message("The new style " + target + " is incomplete: " + text::decimal(failures) +
               " of its files or folders could not be written.");
  return Converted::incomplete;
}

}  // namespace zw
