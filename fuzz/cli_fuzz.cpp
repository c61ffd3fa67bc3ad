// zoomwright-cli's argument parsing and image export: the input is the command
// line, one word per NUL-separated part, run as the batch program runs it.
// Every name stays inside a working directory that holds a small style "st" and
// a TYP file "typ.txt": separators become "_" and a name of dots alone is
// replaced, so no word can reach outside it. What a run writes (images,
// converted styles, category files) is removed before the next one.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "fuzz_app.h"

using namespace zw;

namespace {

const char* const rules =
    "highway=motorway [0x01 resolution 16-24]\n"
    "highway=trunk [0x02 resolution 18 continue]\n"
    "natural=coastline [0x15 resolution 12]\n"
    "landuse=forest [0x50 level 2]\n"
    "amenity=fuel [0x2f01 resolution 22]\n";

const char* const typ =
    "[_line]\nType=0x01\nLineWidth=3\nXpm=\"0 0 1 0\"\n\"1 c #ff0000\"\n[end]\n"
    "[_polygon]\nType=0x50\nXpm=\"4 4 2 1\"\n\"0 c #00ff00\"\n\"1 c #0000ff\"\n"
    "\"0101\"\n\"1010\"\n\"0101\"\n\"1010\"\n[end]\n"
    "[_point]\nType=0x2f01\nDayXpm=\"2 2 1 1\"\n\"x c #000000\"\n\"xx\"\n\"xx\"\n[end]\n";

// The working directory, made once per process.
const std::string& workdir() {
  static const std::string dir = [] {
    auto path = fuzz::FuzzApp::dir().at("cli");
    std::filesystem::create_directories(path);
    return path;
  }();
  return dir;
}

// Enters a directory for one run; the fuzzer's own relative paths need the
// directory it was started in back afterwards.
class Entered {
 public:
  explicit Entered(const std::string& dir) : back_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~Entered() {
    std::error_code ec;
    std::filesystem::current_path(back_, ec);
  }
  Entered(const Entered&) = delete;
  Entered& operator=(const Entered&) = delete;

 private:
  std::filesystem::path back_;
};

// Only the style and the TYP file, as written here.
void reset(const std::string& dir) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    std::filesystem::remove_all(entry.path(), ec);
  auto& d = fuzz::FuzzApp::dir();
  d.write("cli/st/options", "levels = 0:24, 1:22, 2:20, 3:18\noverview-levels = 4:17\n");
  for (const char* kind : {"lines", "polygons", "points"})
    d.write(std::string("cli/st/") + kind, rules);
  d.write("cli/typ.txt", typ);
}

std::string confined(std::string word) {
  for (char& c : word)
    if (c == '/' || c == '\\') c = '_';
  if (!word.empty() && word.find_first_not_of('.') == std::string::npos) word = "_";
  return word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto& dir = workdir();
  reset(dir);
  std::vector<std::string> argv{"zoomwright-cli"};
  std::string rest = fuzz::bytes(data, size), word;
  while (!rest.empty() && argv.size() < 40) {
    fuzz::split_at_nul(std::string(rest), word, rest);
    argv.push_back(confined(word));
  }
  std::ostringstream out, err;
  cli::Io io{out, err, dir};
  Entered entered(dir);
  cli::run(argv, io);
  return 0;
}
