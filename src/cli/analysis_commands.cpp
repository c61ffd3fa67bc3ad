#include <algorithm>
#include <charconv>
#include <memory>
#include <ostream>
#include <vector>

#include "analysis/analysis.h"
#include "app/check_handlers.h"
#include "app/main_window.h"
#include "base/text.h"
#include "cli/commands.h"
#include "levels/categories.h"

namespace zw::cli {
namespace {

std::string joined(const std::vector<std::uint8_t>& values, int last) {
  std::string out;
  for (int i = 0; i <= last && i < static_cast<int>(values.size()); ++i) {
    if (!out.empty()) out += ' ';
    out += text::decimal(values[static_cast<std::size_t>(i)]);
  }
  return out;
}

// A resolution as digits, without a string of its own for each.
char* write_number(char* to, unsigned value) {
  return std::to_chars(to, to + 3, value).ptr;
}

}  // namespace

int kind_index(const std::string& kind) {
  if (kind == "polygons") return 0;
  if (kind == "lines") return 1;
  if (kind == "points") return 2;
  throw UsageError("--kind must be polygons, lines or points, not \"" + kind + "\"");
}

std::vector<OptionSpec> analysis_options() {
  auto specs = common_options();
  specs.insert(specs.end(), {{"--kind", true},
                             {"--inc", false},
                             {"--sort", false},
                             {"--all", false},
                             {"--category", true},
                             {"--text", true},
                             {"--resolution", true}});
  return specs;
}

bool run_analysis(Session& session, const Args& args, const std::function<bool()>& before_start,
                  const std::function<void()>& before_check) {
  if (args.positional.size() != 1) throw UsageError("give one style directory");
  if (!args.has("--kind")) throw UsageError("--kind is required");
  int kind = kind_index(args.value("--kind"));
  int resolution = args.has("--resolution") ? whole_option(args, "--resolution", 1, 24) : -1;
  answer_questions(session, args);
  if (before_start && !before_start()) return false;

  start_session(session, args);
  auto& s = session.state;
  auto& host = session.host;
  session.select_style(args.positional[0]);

  session.click_kind(kind);

  if (args.has("--inc")) s.f1.inc.value = 1;
  if (args.has("--sort")) s.f1.Check2.value = 1;
  if (args.has("--all")) s.f1.Check1[0].value = 1;
  for (const auto& name : args.values("--category")) {
    bool found = false;
    for (int i = 1; i < category_boxes && !found; ++i) {
      auto& b = s.f1.Check1[static_cast<std::size_t>(i)];
      if (b.visible && !b.caption.empty() && text::lower(b.caption) == text::lower(name)) {
        b.value = 1;
        found = true;
      }
    }
    if (!found)
      throw UsageError("the " + args.value("--kind") + " category file offers no category \"" +
                       name + "\"");
  }
  if (args.has("--text")) {
    s.f1.Text2.text = args.value("--text");
    s.f1.Check4.value = 1;
    Check4_MouseUp(s, host);
  }

  if (before_check) before_check();
  int runs = s.analysis_runs;
  command2_Click(s, host);
  if (s.analysis_runs == runs) return false;
  if (resolution > 0) Label3_Click(s, host, resolution);
  return true;
}

void print_rows(const Session& session, std::ostream& out) {
  const auto& s = session.state;
  const auto& r = s.results;
  out << "rows\t" << s.result_count << "\n";
  out << "lowest\t" << s.lowest_resolution << "\n";
  auto k = static_cast<std::size_t>(s.selected_kind);
  // Rows are gathered and written a block at a time: a big style has a
  // hundred thousand of them. Fields are escaped straight into the block, a
  // rule longer than the block in parts.
  constexpr std::size_t block_size = std::size_t{1} << 16;
  auto block = std::make_unique_for_overwrite<char[]>(block_size);
  char* to = block.get();
  char* const end = to + block_size;
  auto flush = [&] {
    out.write(block.get(), to - block.get());
    to = block.get();
  };
  auto room = [&](std::size_t bytes) {
    if (static_cast<std::size_t>(end - to) < bytes) flush();
  };
  auto put = [&](std::string_view field) {
    for (;;) {
      auto part = std::min(field.size(), static_cast<std::size_t>(end - to) / 2);
      to = escape_into(to, field.substr(0, part));
      field.remove_prefix(part);
      if (field.empty()) return;
      flush();
    }
  };
  for (int i = 0, rows = std::min(s.result_count, r.rows(s.selected_kind)); i < rows; ++i) {
    auto row = static_cast<std::size_t>(i);
    put(r.rule_line[k][row]);
    room(12);
    *to++ = '\t';
    to = write_number(to, r.res_from[k][row]);
    *to++ = '\t';
    to = write_number(to, r.res_to[k][row]);
    *to++ = '\t';
    *to++ = r.rule_continue[k][row] ? '1' : '0';
    *to++ = '\t';
    put(r.rule_type[k][row]);
    room(1);
    *to++ = '\t';
    put(r.rule_text[k][row]);
    room(1);
    *to++ = '\n';
  }
  flush();
}

int run_analyse(const std::vector<std::string>& words, Io& io) {
  auto args = parse_args(words, analysis_options());
  Session session(io.err, io.app_dir);
  if (!run_analysis(session, args)) return 1;
  print_rows(session, io.out);
  // A rule or options file that could not be read makes the rows incomplete.
  return session.host.unread_files > 0 ? 1 : 0;
}

int run_levels(const std::vector<std::string>& words, Io& io) {
  auto args = parse_args(words, common_options());
  if (args.positional.size() != 1) throw UsageError("give one style directory");
  Session session(io.err, io.app_dir);
  start_session(session, args);
  session.select_style(args.positional[0]);
  const auto& s = session.state;
  const auto& lv = s.levels;
  io.out << "level_res\t" << joined(lv.level_res, lv.level_last) << "\n"
         << "main_level_last\t" << lv.main_level_last << "\n"
         << "overview_level\t" << joined(lv.overview_level, lv.overview_level_last) << "\n"
         << "overview_res\t" << joined(lv.overview_res, lv.overview_level_last) << "\n"
         << "overview_level_last\t" << lv.overview_level_last << "\n"
         << "level_last\t" << lv.level_last << "\n"
         << "lowest\t" << s.lowest_resolution << "\n"
         << "caption\t" << escape_field(s.f1.Label4.caption) << "\n";
  return lv.options_found && session.host.unread_files == 0 ? 0 : 1;
}

}  // namespace zw::cli
