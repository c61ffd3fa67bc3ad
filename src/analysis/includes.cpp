#include "analysis/includes.h"

#include <optional>

#include "app/failure.h"
#include "app/paths.h"
#include "app/shell.h"
#include "app/text.h"

namespace zw {
namespace {

// The whole file, or nullopt when there is none or it is refused.
std::optional<std::string> read_whole(Host& host, const std::string& path) {
  auto& fs = host.fs();
  if (path.empty() || !fs.file_exists(path)) return std::nullopt;
  auto size = fs.file_size(path);
  if (size > max_read_bytes) {
    host.message(too_large_message(path, size));
    return std::nullopt;
  }
  host.set_busy(true);
  std::string error;
  auto data = fs.read(path, error);
  host.do_events();
  host.set_busy(false);
  if (!data) host.message(error);
  return data;
}

// The reading of loadbinary: the whole file with its blanks normalised.
std::optional<std::string> load_normalised(Host& host, const std::string& path) {
  auto data = read_whole(host, paths::to_host(path));
  if (!data) return std::nullopt;
  std::string t = text::replace_all(*data, "\t", " ");
  t = text::replace_all(t, "  ", " ");
  t = text::replace_all(t, " =", "=");
  t = text::replace_all(t, "[ ", "[");
  return text::replace_all(t, " ]", "]");
}

// Joins a rule's action block or type bracket written on the next line to the
// rule's own line.
std::string rules_joined(std::string t) {
  t = text::replace_all(t, "\t", " ");
  t = text::replace_all(t, "  ", " ");
  t = text::replace_all(t, " =", "=");
  t = text::replace_all(t, "[ ", "[");
  t = text::remove_all(t, "\r");
  t = text::replace_all(t, " ]", "]");
  t = text::replace_all(t, " {", "{");
  t = text::replace_all(t, " }", "}");
  t = text::replace_all(t, "\n{", "{");
  t = text::replace_all(t, "\n[", "[");
  return t;
}

std::string cleaned_names(const std::string& names) {
  std::string n = paths::to_host(names);
  n = text::remove_all(n, "'");
  return text::remove_all(n, ";");
}

struct Collection {
  bool full_reported = false;
};

void add_files(AppState& s, Host& host, Collection& c, int tt, const std::string& names,
               const std::string& dir) {
  auto& inc = s.includes;
  for (const auto& raw : text::split(names, "include")) {
    auto piece = text::trim(raw);
    if (piece.empty()) continue;
    attempt(host, [&] {
      host.do_events();
      auto full = paths::collapse(dir + paths::sep_text + piece);
      if (!host.fs().file_exists(full)) return;
      if (inc.extra_count + 1 >= include_entries) {
        if (!c.full_reported) {
          c.full_reported = true;
          host.message("More than " + std::to_string(include_entries) +
                       " included files: " + full + " and the files after it are not read.");
        }
        return;
      }
      auto data = load_normalised(host, full);
      if (!data) return;
      ++inc.extra_count;
      s.f1.Label6.caption = text::decimal(inc.extra_count);
      inc.extra_files[static_cast<std::size_t>(inc.extra_count)] = std::to_string(tt) + full;
      inc.extra_texts[static_cast<std::size_t>(inc.extra_count)] = rules_joined(*data);
    });
  }
}

}  // namespace

const char* kind_name(int kind) {
  switch (kind) {
    case 0: return "polygons";
    case 1: return "lines";
    case 2: return "points";
  }
  fail("Subscript out of range: kind " + std::to_string(kind));
}

std::string rule_file_path(const AppState& s, int kind) {
  return paths::collapse(s.style_root + paths::sep_text + s.style_name + paths::sep_text +
                         paths::sep_text + kind_name(kind));
}

std::string loadbinary(AppState&, Host& host, const std::string& path, bool) {
  return load_normalised(host, path).value_or(std::string());
}

std::string chk_include(const std::string& s1) {
  auto lines = text::split(s1, "\n");
  if (lines.size() < 2 || !text::contains(text::lower(s1), "include")) return {};
  std::string result;
  for (const auto& line : lines) {
    auto t = text::lower(text::trim(line));
    if (!text::contains(line, "'") || text::starts_with(t, "#")) continue;
    if (!text::contains(t, "inc/") && !text::contains(t, "inc\\")) continue;
    int q1 = text::find(line, "'");
    int q2 = text::find(line, "'", q1 + 2);
    auto statement = text::left(line, q2);
    if (!text::contains(result, statement)) result += statement;
  }
  return result;
}

void addextra(AppState& s, Host& host, int tt, const std::string& names, const std::string& dir) {
  Collection c;
  add_files(s, host, c, tt, names, dir);
}

bool chknodata(AppState& s, Host& host, int tt) {
  if (s.scan_busy) return true;
  auto path = rule_file_path(s, tt);
  auto data = load_normalised(host, path);
  if (!data || data->empty()) {
    host.message("cannot find " + path);
    return false;
  }
  s.scan_busy = true;
  auto digit = std::to_string(tt);
  if (!text::contains(s.includes.extra_done, digit)) s.includes.extra_done += digit;

  std::string t = rules_joined(*data);
  auto names = chk_include(t);
  if (names.empty()) return false;
  auto dir = s.style_root + paths::sep_text + s.style_name;
  Collection c;
  add_files(s, host, c, tt, cleaned_names(names), dir);

  // Files included by included files are recorded too, but not searched again:
  // includes are followed two levels deep.
  int last = s.includes.extra_count;
  for (int k = 0; k <= last; ++k) {
    auto nested = chk_include(s.includes.extra_texts[static_cast<std::size_t>(k)]);
    if (!nested.empty()) add_files(s, host, c, tt, cleaned_names(nested), dir);
  }
  if (s.includes.extra_count > -1) s.f1.Label6.caption = text::decimal(s.includes.extra_count);
  return false;
}

}  // namespace zw
