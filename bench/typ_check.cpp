// The check of a style against its TYP file: the largest sample style (the
// samples beside the source tree, or where ZW_SAMPLES points), and generated
// TYP files of growing size checked against rules drawing every type in them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "base/paths.h"
#include "base/text_files.h"
#include "app/typ_check_run.h"
#include "cli/session.h"
#include "support.h"
#include "typ/typ_check.h"
#include "typ/typ_entries.h"

namespace fs = std::filesystem;
using namespace zw;

namespace {

void check_sample(const fs::path& samples) {
  fs::path style = samples / "styles" / "Openfietsmap lite";
  fs::path typ = samples / "typ" / "openfietsmap-lite-20011.txt";
  if (!fs::exists(style) || !fs::exists(typ)) {
    std::printf("  no sample style at %s (set ZW_SAMPLES): skipped\n", style.string().c_str());
    return;
  }
  std::ostringstream err;
  auto app = fs::temp_directory_path() / "zw-bench-typ-check";
  fs::create_directories(app);
  cli::Session session(err, from_fs_path(app));
  session.start(from_fs_path(app / "system"));
  session.select_style(from_fs_path(style));
  auto& s = session.state;
  s.typ_file = from_fs_path(typ);
  std::size_t findings = 0;
  auto whole = bench::time_runs(9, [&] { findings = check_style(s, session.host)->size(); });
  // Its parts: the style's rules, the TYP file, and the check on both.
  std::vector<DrawnRule> rules;
  auto scan = bench::time_runs(9, [&] { rules = drawn_rules(s, session.host); });
  TypFile file;
  auto text = *read_whole(session.host, s.typ_file, true);
  auto read = bench::time_runs(9, [&] { file = read_typ_file(text); });
  auto core = bench::time_runs(9, [&] { check_against_typ(rules, file, s.typ_file, 20011); });
  std::printf(
      "  Openfietsmap lite (%zu drawing rules) against its TYP file (%zu entries): %zu findings\n"
      "    whole check %6.2f ms wall, %6.2f ms CPU: rules %6.2f, TYP file %5.2f, comparison %5.2f "
      "ms CPU\n",
      rules.size(), file.entries.size(), findings, whole.wall, whole.cpu, scan.cpu, read.cpu,
      core.cpu);
  fs::remove_all(app);
}

// per_kind polygon and line entries, every one drawn by a rule at the same
// level, in colours spread over the whole range: every pair is compared.
void check_generated(int per_kind) {
  std::string text = "[_drawOrder]\n";
  for (int i = 0; i < per_kind; ++i) text += "Type=0x" + bench::typ_code(i) + ",1\n";
  std::vector<DrawnRule> rules;
  for (int kind : {0, 1})
    for (int i = 0; i < per_kind; ++i) {
      std::string type = bench::typ_code(i);
      text += std::string(kind == 0 ? "[_polygon]" : "[_line]") + "\nType=0x" + type +
              "\nLineWidth=2\nXpm=\"0 0 1 0\"\n\"a c #" + bench::hex2(i * 37) +
              bench::hex2(i * 91) + bench::hex2(i * 53) + "\"\n[end]\n";
      rules.push_back({kind, type, "rules", "rules", i + 1, {0, 1}});
    }
  auto file = read_typ_file(text);
  std::size_t findings = 0;
  auto t =
      bench::time_runs(5, [&] { findings = check_against_typ(rules, file, "typ", {}).size(); });
  std::printf("  %5d types per kind, all drawn at one level: %8.2f ms CPU (%zu findings)\n",
              per_kind, t.cpu, findings);
}

}  // namespace

int main() {
  const char* env = std::getenv("ZW_SAMPLES");
  fs::path samples = env ? fs::path(env) : fs::path(ZW_SOURCE_DIR) / ".." / "shared" / "samples";
  std::printf("Check against TYP (median of 9)\n");
  check_sample(samples);
  std::printf("Look-alike pairs grow with the types drawn at a level (median of 5)\n");
  for (int n : {250, 500, 1000}) check_generated(n);
  return 0;
}
