#include "convert/convert_style.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/includes.h"
#include "app/failure.h"
#include "app/numbers.h"
#include "app/paths.h"
#include "app/shell.h"
#include "app/text.h"
#include "levels/options_file.h"

namespace zw {
namespace {

const std::string sep = paths::sep_text;

std::string source_dir(const AppState& s) { return paths::collapse(s.style_root + sep + s.style_name); }

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

// The components of a relative path with "." and ".." resolved; nullopt when
// the path climbs out of its base or names nothing.
std::optional<std::vector<std::string>> components(const std::string& relative) {
  std::vector<std::string> out;
  std::string piece;
  auto take = [&]() -> bool {
    if (piece == "..") {
      if (out.empty()) return false;
      out.pop_back();
    } else if (!piece.empty() && piece != ".") {
      out.push_back(piece);
    }
    piece.clear();
    return true;
  };
  for (char c : relative) {
    if (!paths::is_separator(c)) {
      piece += c;
      continue;
    }
    if (!take()) return std::nullopt;
  }
  if (!take() || out.empty()) return std::nullopt;
  return out;
}

// The name under which an included file goes into the new style: its path
// relative to the source style directory, so that the new style's include
// statements find it (inc/roads/main stays inc/roads/main).
std::optional<std::vector<std::string>> included_name(const AppState& s, const std::string& path) {
  auto dir = source_dir(s) + sep;
  auto full = paths::collapse(path);
  if (text::starts_with(full, dir)) return components(full.substr(dir.size()));
  return components("inc" + sep + paths::part(full, 1));
}

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : sep) + p;
  return out;
}

// Creates the directories that a file at base/parts needs; false (after a
// message) when one cannot be made.
bool make_parents(Host& host, const std::string& base, const std::vector<std::string>& parts) {
  std::string dir = base;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    dir += sep + parts[i];
    if (host.fs().dir_exists(dir)) continue;
    std::string error;
    if (!host.fs().create_dir(dir, error)) {
      host.message(error.empty() ? "Cannot create the folder " + dir : error);
      return false;
    }
  }
  return true;
}

void copy_into(Host& host, const std::string& from, const std::string& to) {
  std::string error;
  if (!host.fs().copy_file(from, to, error)) fail(error.empty() ? "Cannot copy " + from : error);
}

// One folder name: no separator, and neither "." nor "..", which would put the
// new style's files into the style root or above it.
bool is_style_name(const std::string& name) {
  return name != "." && name != ".." && std::none_of(name.begin(), name.end(), paths::is_separator);
}

}  // namespace

std::string resolutions_to_levels(const AppState& s, Host& host, const std::string& text) {
  auto parts = text::split(text, "resolution ");
  if (parts.empty()) return {};
  std::string out = parts[0];
  for (std::size_t i = 1; i < parts.size(); ++i) {
    auto& part = parts[i];
    // A part that cannot be converted keeps its text and the rest go on.
    attempt(host, [&] {
      auto t = text::trim(part);
      int e = resolution_end(t);
      if (e > 0) {
        part = convertrl(s, text::left(t, e - 1)) + " " + text::mid(text::trim_left(part), e);
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

void res_2_lev(AppState& s, Host& host, const std::string& path, const std::string& new_name,
               bool include_file) {
  std::string content;
  attempt(host, [&] { content = loadtext(host, path); });

  std::vector<std::string> parts{paths::part(path, 1)};
  if (include_file) {
    auto inside = included_name(s, path);
    if (!inside) {
      host.message("Not copied, as it lies outside the style's folder: " + path);
      return;
    }
    parts = *inside;
  }
  auto name = joined(parts);
  host.do_events();
  auto base = paths::collapse(s.style_root + sep + new_name);
  auto out = paths::collapse(base + sep + name);

  if (out == paths::collapse(path)) {
    host.message("Target and source are the same ! Cannot continue:");
    return;
  }

  if (!text::contains(content, "resolution ")) {
    host.message("None here" + name);
    // Nothing to convert, yet the new style needs the file all the same: its
    // include statements name it, or it holds the level rules of a kind.
    attempt(host, [&] {
      if (host.fs().file_exists(path) && make_parents(host, base, parts)) copy_into(host, path, out);
    });
    return;
  }

  // A rewriting that breaks off writes nothing, rather than a part of the file.
  std::optional<std::string> result;
  attempt(host, [&] { result = resolutions_to_levels(s, host, content); });
  if (!result) return;
  host.message("Now saving as " + out);
  attempt(host, [&] {
    if (make_parents(host, base, parts)) savetext(host, out, *result);
  });
}

bool convert_style(AppState& s, Host& host) {
  auto& fs = host.fs();
  // Copied: events that run meanwhile may open the dialog again.
  const std::string name = s.new_style_name;
  if (name.empty()) return false;
  if (s.levels.main_level_last < 1) {
    host.message("Only one resolution");
    return false;
  }
  if (text::lower(s.style_name) == text::lower(name)) {
    host.message("Target and source are the same ! Cannot continue:");
    return false;
  }
  auto source = source_dir(s);
  auto target = paths::collapse(s.style_root + sep + name);
  // Nothing is asked or written for a conversion that cannot succeed.
  auto options = paths::join(source, "options");
  if (!fs.file_exists(options)) {
    host.message("Cannot find style's options file\r\n\r\n" + options);
    return false;
  }
  if (!is_style_name(name)) {
    host.message("Cannot create the new style's folder " + target +
                 "\r\n\r\nA style's name is one folder name.");
    return false;
  }

  if (fs.dir_exists(target)) {
    auto answer = host.message(name + " exists.  Are you sure you want to replace " + name,
                               Buttons::yes_no_cancel);
    if (answer != Answer::yes) return false;
  } else {
    std::string error;
    if (!fs.create_dir(target, error)) {
      host.message("Cannot create the new style's folder " + target +
                   (error.empty() ? "" : "\r\n\r\n" + error));
      return false;
    }
  }

  // A file that the target already has is kept: converting twice keeps the
  // options, info and version of the first time. The relations and overlays
  // files hold no resolutions; mkgmap reads them from the style all the same.
  for (const char* file : {"options", "info", "version", "relations", "overlays"}) {
    attempt(host, [&] {
      auto to = paths::join(target, file);
      if (fs.file_exists(to)) return;
      auto from = paths::join(source, file);
      if (fs.file_exists(from)) {
        copy_into(host, from, to);
      } else if (std::string(file) == "info" || std::string(file) == "version") {
        host.message("The style has no " + std::string(file) + " file (" + from +
                     "), so the new style has none.");
      }
    });
  }
  attempt(host, [&] {
    auto inc = paths::join(target, "inc");
    std::string error;
    if (!fs.dir_exists(inc) && !fs.create_dir(inc, error)) fail(error);
  });

  s.selected_kind = 0;
  s.includes.extra_count = -1;
  s.f1.Label6.caption = "0";
  for (int kind = 0; kind < 3; ++kind) {
    attempt(host, [&] { res_2_lev(s, host, source + sep + kind_name(kind), name, false); });
    attempt(host, [&] {
      s.scan_busy = false;
      chknodata(s, host, kind);
    });
  }

  int last = s.includes.extra_count;
  host.message("Extras=" + std::string(last >= 0 ? " " : "") + text::decimal(last));
  for (int j = 0; j <= last; ++j) {
    attempt(host, [&] {
      const auto& entry = bounded(s.includes.extra_files, j, "extra_files");
      if (entry.empty()) return;
      host.do_events();
      res_2_lev(s, host, entry.substr(1), name, true);
    });
  }
  return true;
}

void change_res_to_lev(AppState& s, Host& host) {
  if (!convert_style(s, host)) return;
  attempt(host, [&] {
    auto dirs = host.fs().list_dirs(s.style_root);
    auto& list = s.f1.Combo2;
    list.items.clear();
    for (const auto& d : dirs) list.items.push_back(paths::part(d, 1));
    list.text = paths::part(s.style_name, 2);
  });
  command2_Click(s, host);
}

}  // namespace zw
