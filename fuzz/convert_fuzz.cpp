// A whole conversion of a generated style tree, into a new style that may
// already exist and hold links. The input, cut at each NUL:
//   the lines file, the options file (the example's levels when empty), the
//   polygons file, the points file, then entries "NAME\nCONTENT":
//     NAME          a file of the source style (inc/roads/main)
//     >NAME         a file already in the new style
//     @NAME         a link at styles/NAME, to the place that CONTENT's first
//                   byte picks from a few inside the fuzzing folder
//     !             how the source is named, by CONTENT's first byte (".", ...)
// Whatever the input, nothing outside the new style's real folder changes, a
// refused conversion changes nothing at all, and no file is written twice.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string_view>

#include "app/main_window.h"
#include "convert/convert_style.h"
#include "fuzz_app.h"
#include "levels/options_file.h"

using namespace zw;
namespace fs = std::filesystem;

namespace {

const char* const link_places[] = {"outside", "outside/file", "src",     "src/inc",
                                   "",        "new",          "new/inc", "nowhere"};
const char* const source_names[] = {"src", "src/.", "src/inc/..", "src/./", "src/inc/../."};

// A relative path kept inside the folder it is written to: no empty, "." or
// ".." parts, a few parts of bounded length.
std::string tame(std::string_view name) {
  std::string out;
  int parts = 0;
  std::size_t from = 0;
  while (from <= name.size() && parts < 5) {
    auto end = std::min(name.find('/', from), name.size());
    auto part = name.substr(from, std::min<std::size_t>(end - from, 40));
    if (!part.empty() && part != "." && part != "..") {
      if (!out.empty()) out += '/';
      out += part;
      ++parts;
    }
    from = end + 1;
  }
  return out;
}

void put(const fs::path& file, const std::string& bytes) {
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  if (fs::exists(fs::symlink_status(file, ec))) return;
  std::ofstream(file, std::ios::binary) << bytes;
}

// Everything below root, links not followed: path -> what it is and holds.
std::map<std::string, std::string> snapshot(const fs::path& root) {
  std::map<std::string, std::string> seen;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    auto st = it->symlink_status(ec);
    auto key = it->path().lexically_relative(root).generic_string();
    if (fs::is_symlink(st)) {
      seen[key] = "link " + fs::read_symlink(it->path(), ec).string();
    } else if (fs::is_regular_file(st)) {
      std::ifstream in(it->path(), std::ios::binary);
      seen[key] = "file " + std::string(std::istreambuf_iterator<char>(in), {});
    } else {
      seen[key] = "folder";
    }
  }
  return seen;
}

bool lies_in(const std::string& path, const std::string& folder) {
  return !folder.empty() && (path == folder || path.rfind(folder + "/", 0) == 0);
}

}  // namespace

// Each written file is flushed to its disk; in memory that costs nothing, so
// the fuzzer runs many more inputs in its time.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
#ifndef _WIN32
  std::error_code ec;
  if (fs::is_directory("/dev/shm", ec)) setenv("TMPDIR", "/dev/shm", 0);
#endif
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string rest = fuzz::bytes(data, size), chunk;
  std::vector<std::string> chunks;
  while (!rest.empty() && chunks.size() < 40) {
    std::string tail;
    fuzz::split_at_nul(rest, chunk, tail);
    chunks.push_back(chunk);
    rest = tail;
  }
  chunks.resize(std::max<std::size_t>(chunks.size(), 4));
  if (chunks[1].empty())
    chunks[1] = "levels = 0:24, 1:22, 2:20, 3:18\noverview-levels = 4:17, 5:16\n";

  fuzz::FuzzApp app;
  app.host.default_answer = Answer::yes;
  const fs::path styles = fs::path(fuzz::FuzzApp::dir().at("styles"));
  std::error_code ec;
  fs::remove_all(styles, ec);
  fs::create_directories(styles / "src", ec);
  fs::create_directories(styles / "outside", ec);
  put(styles / "outside" / "file", "theirs\n");
  const char* rule_files[] = {"lines", "options", "polygons", "points"};
  for (int i = 0; i < 4; ++i)
    put(styles / "src" / rule_files[i], chunks[static_cast<std::size_t>(i)]);
  std::string source = source_names[0];
  for (std::size_t i = 4; i < chunks.size(); ++i) {
    auto line = chunks[i].find('\n');
    std::string_view name(chunks[i].data(), std::min(line, chunks[i].size()));
    std::string content = line == std::string::npos ? "" : chunks[i].substr(line + 1);
    // Digits pick in order: "0" the first place or name, "1" the second ...
    unsigned pick =
        content.empty() ? 0 : (static_cast<unsigned char>(content[0]) + 256u - '0') % 256u;
    if (name.starts_with("!")) {
      source = source_names[pick % std::size(source_names)];
    } else if (name.starts_with("@")) {
      auto at = tame(name.substr(1));
      if (at.empty()) continue;
      fs::create_directories((styles / at).parent_path(), ec);
      fs::create_symlink(styles / link_places[pick % std::size(link_places)], styles / at, ec);
    } else if (name.starts_with(">")) {
      if (auto at = tame(name.substr(1)); !at.empty()) put(styles / "new" / at, content);
    } else if (auto at = tame(name); !at.empty()) {
      put(styles / "src" / at, content);
    }
  }

  auto before = snapshot(styles);
  // Where the new style's files may go: its real folder, when that lies in
  // the styles' folder (anywhere else, nothing may change).
  auto inside_styles = [&](const fs::path& p) {
    auto real = fs::weakly_canonical(p, ec);
    auto rel = ec ? std::string()
                  : real.lexically_relative(fs::weakly_canonical(styles, ec)).generic_string();
    return rel == "." || rel.starts_with("..") ? std::string() : rel;
  };
  auto target = inside_styles(styles / "new");
  auto real_source = inside_styles(styles / source);
  // A target that is the source, lies in it or holds it must be refused.
  bool overlapping = target.empty() || lies_in(target, real_source) || lies_in(real_source, target);

  select_style_dir(app.s, app.host, (styles / source).string());
  app.s.new_style_name = "new";
  auto converted = convert_style(app.s, app.host);

  if (overlapping && converted != Converted::refused) std::abort();
  auto after = snapshot(styles);
  for (const auto& [path, what] : before) {
    bool may_change = converted != Converted::refused && lies_in(path, target);
    auto now = after.find(path);
    if (!may_change && (now == after.end() || now->second != what)) std::abort();
  }
  for (const auto& [path, what] : after) {
    bool may_be_new = converted != Converted::refused && lies_in(path, target);
    if (!may_be_new && !before.count(path)) std::abort();
    if (path.find(".zw") != std::string::npos && path.ends_with(".tmp"))
      std::abort();  // a temporary file left
  }
  std::map<std::string, int> saved;
  for (const auto& m : app.host.messages)
    if (m.starts_with("Now saving as ") && ++saved[m] > 1) std::abort();

  if (converted != Converted::refused) get_levels(app.s, app.host, (styles / "new").string() + "/");
  return 0;
}
