#include "analysis/includes.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>

#include "base/failure.h"
#include "base/include_statements.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text_files.h"
#include "base/text.h"

namespace zw {
namespace {

std::optional<std::string> load_raw(Host& host, const std::string& path) {
  if (path.empty()) return std::nullopt;
  return read_whole(host, paths::to_host(path), true);
}

// The blanks of loadbinary: around "=", "[" and "]". In place, so that a
// big file is not copied once for each replacement it does not need.
std::string normalised(std::string t) {
  text::replace_all_in(t, "\t", " ");
  text::replace_all_in(t, "  ", " ");
  text::replace_all_in(t, " =", "=");
  text::replace_all_in(t, "[ ", "[");
  text::replace_all_in(t, " ]", "]");
  return t;
}

// The reading of loadbinary: the whole file with its blanks normalised.
std::optional<std::string> load_normalised(Host& host, const std::string& path) {
  auto data = load_raw(host, path);
  if (!data) return std::nullopt;
  return normalised(std::move(*data));
}

// Joins a rule's action block or type bracket written on the next line to the
// rule's own line.
std::string rules_joined(std::string t) {
  for (auto [from, to] : {std::pair{"\t", " "},
                          {"  ", " "},
                          {" =", "="},
                          {"[ ", "["},
                          // A lone CR ends a line, as LF and CR LF do.
                          {"\r\n", "\n"},
                          {"\r", "\n"},
                          {" ]", "]"},
                          {" {", "{"},
                          {" }", "}"},
                          {"\n{", "{"},
                          {"\n[", "["}})
    text::replace_all_in(t, from, to);
  return t;
}

// One kind's collection: which files it has met, so that each is recorded at
// most once however often, and however circularly, it is included.
class Collection {
 public:
  Collection(AppState& s, Host& host, int tt, std::string dir)
      : s_(s), host_(host), dir_(std::move(dir)), digit_(std::to_string(tt)) {
    auto& inc = s_.includes;
    for (int k = 0; k <= inc.extra_count && k < include_entries; ++k) {
      const auto& entry = inc.extra_files[static_cast<std::size_t>(k)];
      if (text::starts_with(entry, digit_)) {
        seen_.insert(paths::normal(entry.substr(1)));
        seen_.insert(identity(entry.substr(1)));
      }
    }
  }

  // A file that is not to be recorded: the rule file itself.
  void met(const std::string& path) {
    seen_.insert(paths::normal(path));
    seen_.insert(identity(path));
  }

  void add(const std::vector<std::string>& names, const std::string& from) {
    auto& inc = s_.includes;
    for (const auto& name : names) {
      attempt(host_, [&] {
        if (name.size() > longest_path) {
          host_.message(too_long_include_message(name, from));
          return;
        }
        auto full = paths::collapse(dir_ + paths::sep_text + name);
        // Once the tables are full, nothing more is looked at on disk. A file
        // reached by many names (links, "./") is read once.
        if (!seen_.insert(paths::normal(full)).second || full_reported_) return;
        if (!seen_.insert(identity(full)).second) return;
        auto what = host_.fs().entry(full);
        if (what == FileSystem::Entry::none || what == FileSystem::Entry::folder) return;
        if (inc.extra_count + 1 >= include_entries) {
          if (!full_reported_) {
            full_reported_ = true;
            host_.message("More than " + std::to_string(include_entries) +
                          " included files: " + full + " and the files after it are not read.");
          }
          return;
        }
        host_.do_events();
        auto data = load_normalised(host_, full);
        if (!data) return;
        ++inc.extra_count;
        s_.f1.Label6.caption = text::decimal(inc.extra_count);
        inc.extra_files[static_cast<std::size_t>(inc.extra_count)] = digit_ + full;
        inc.extra_texts[static_cast<std::size_t>(inc.extra_count)] = rules_joined(*data);
      });
    }
  }

  // The files that the files recorded from entry `first` on include, and the
  // files those include, breadth first, to any depth.
  void follow(int first) {
    const auto& inc = s_.includes;
    for (int k = first; k <= inc.extra_count; ++k) {
      const auto& entry = inc.extra_files[static_cast<std::size_t>(k)];
      if (text::starts_with(entry, digit_))
        add(chk_include(inc.extra_texts[static_cast<std::size_t>(k)]), entry.substr(1));
    }
  }

 private:
  // Where a file really is, marked apart from the names as written.
  std::string identity(const std::string& path) {
    auto real = host_.fs().real_path(path);
    std::string marked(1, '\n');
    return marked.append(paths::normal(real.empty() ? path : real));
  }

  AppState& s_;
  Host& host_;
  std::string dir_, digit_;
  std::unordered_set<std::string> seen_;
  bool full_reported_ = false;
};

// Whether a text, once normalised and joined, may hold an include statement:
// whether a line starts with the word "include", past blanks, TABs and a
// byte-order mark. A line ends at LF or CR, and blanks, TABs and carriage
// returns are all the normalisation can remove before a line's first word, so
// a text that fails this test holds no statement, and the search of a big
// rule file costs one pass over its lines.
bool may_hold_include(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    // To the line's end by two searches of the library, not a test per byte.
    auto lf = text.find('\n', at);
    auto end = std::min(lf, text.substr(0, lf).find('\r', at));
    if (line_may_include(text.substr(at, end - at))) return true;
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  return false;
}

}  // namespace

bool line_may_include(std::string_view line) {
  auto skips = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || static_cast<unsigned char>(c) >= 0xBB;
  };
  std::size_t at = 0;
  while (at < line.size() && skips(line[at])) ++at;
  for (std::size_t letter = 0; letter < 7; ++letter, ++at)
    if (at >= line.size() || (line[at] != "include"[letter] && line[at] != "INCLUDE"[letter]))
      return false;
  return true;
}

std::string rule_file_path(const AppState& s, int kind) {
  return paths::collapse(s.style_root + paths::sep_text + s.style_name + paths::sep_text +
                         paths::sep_text + kind_name(kind));
}

RowSource row_source(const AppState& s, int kind, std::string_view reference) {
  RowSource source;
  auto close = reference.find(')');
  source.file = rule_file_path(s, kind);
  if (close == std::string::npos) {
    source.line = static_cast<int>(num::val(reference));
    return source;
  }
  auto index = reference.empty() ? -1 : reference[0] - 'a';
  source.line = static_cast<int>(num::val(reference.substr(close + 1)));
  if (index >= 0 && index < include_entries)
    source.file = text::mid(s.includes.extra_files[static_cast<std::size_t>(index)], 2);
  return source;
}

std::string loadbinary(AppState&, Host& host, const std::string& path, bool) {
  return load_normalised(host, path).value_or(std::string());
}

std::vector<std::string> chk_include(const std::string& s1) {
  auto names = include_names(s1);
  for (auto& n : names) n = paths::to_host(n);
  return names;
}

void mark_include_search(AppState& s, int kind) {
  s.scan_busy = true;
  auto digit = std::to_string(kind);
  if (!text::contains(s.includes.extra_done, digit)) s.includes.extra_done += digit;
}

bool chknodata(AppState& s, Host& host, int kind, const std::string* rule_text) {
  if (s.scan_busy) return true;
  auto path = rule_file_path(s, kind);
  std::optional<std::string> read;
  std::string_view data;
  if (rule_text && !rule_text->empty()) {
    data = *rule_text;
  } else {
    read = load_raw(host, path);
    if (!read || read->empty()) {
      host.message("cannot find " + path);
      return false;
    }
    data = *read;
  }
  mark_include_search(s, kind);
  if (!may_hold_include(data)) return false;

  // The text read here is normalised where it lies, not copied.
  auto names = chk_include(rules_joined(normalised(read ? std::move(*read) : std::string(data))));
  if (names.empty()) return false;
  Collection c(s, host, kind, s.style_root + paths::sep_text + s.style_name);
  c.met(path);
  int first = s.includes.extra_count + 1;
  c.add(names, path);
  c.follow(first);
  if (s.includes.extra_count > -1) s.f1.Label6.caption = text::decimal(s.includes.extra_count);
  return false;
}

}  // namespace zw
