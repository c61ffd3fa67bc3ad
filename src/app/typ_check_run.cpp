#include "app/typ_check_run.h"

#include <memory>

#include "analysis/analysis.h"
#include "analysis/includes.h"
#include "analysis/style_diff.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text_files.h"
#include "base/open_document.h"
#include "base/text.h"
#include "chart/chart.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

// Rules beyond the window's table are checked too, up to this many of a kind
// (more than any published style has); the table is made anew for each check,
// so it is not made larger than that.
constexpr int scratch_rows = 5000;

}  // namespace

std::vector<DrawnRule> drawn_rules(const AppState& s, Host& host) {
  auto scratch = std::make_unique<AppState>();
  auto& c = *scratch;
  c.app_dir = s.app_dir;
  c.system_dir = s.system_dir;
  c.style_root = s.style_root;
  c.style_name = s.style_name;
  c.quote_char = s.quote_char;
  c.levels = s.levels;
  c.includes = s.includes;
  c.results.re_dim(scratch_rows - 1);
  c.f1.Check1[0].value = 1;  // "All": every rule, whatever its category
  c.f1.inc.value = 1;
  std::vector<DrawnRule> rules;
  auto path = style_directory(s, s.style_name);
  for (int kind = 0; kind < kind_count; ++kind) {
    // A style need not draw every kind.
    if (!host.fs().file_exists(rule_file_path(c, kind))) continue;
    for (auto& box : c.f1.Check3) box.value = 0;
    c.f1.Check3[static_cast<std::size_t>(kind)].value = 1;
    c.selected_kind = static_cast<std::int16_t>(kind);
    c.lowest_resolution = s.lowest_resolution;
    c.result_count = 0;
    attempt(host, [&] { parse(c, host, path); });
    for (auto& row : rule_rows(c, kind)) {
      DrawnRule rule;
      rule.kind = kind;
      rule.type = row.type;
      rule.levels = std::move(row.levels);
      auto source = row_source(c, kind, row.line);
      rule.file = source.file;
      rule.line = source.line;
      rule.name = text::starts_with(rule.file, path) ? rule.file.substr(path.size()) : rule.file;
      rules.push_back(std::move(rule));
    }
  }
  return rules;
}

std::optional<std::vector<TypFinding>> check_style(const AppState& s, Host& host,
                                                   std::optional<long> family_id) {
  auto text = read_whole(host, s.typ_file, true);
  if (!text) {
    host.message("Cannot read the TYP file " + s.typ_file);
    return std::nullopt;
  }
  auto typ = read_typ_file(*text);
  if (typ.entries.empty() && !typ.has_draw_order && !typ.family_id) {
    host.message(no_typ_section_message(s.typ_file));
    return std::nullopt;
  }
  return check_against_typ(drawn_rules(s, host), typ, s.typ_file, family_id);
}

void check_typ_Click(AppState& s, Host& host) {
  if (s.typ_file.empty()) {
    host.message("Open a TYP file first: File > Open TYP file");
    return;
  }
  if (s.style_name.empty() || s.f1.Combo2.items.empty()) {
    host.message("Please select style.\r\nClick >> button");
    return;
  }
  host.set_busy(true);
  std::optional<std::vector<TypFinding>> findings;
  attempt(host, [&] { findings = check_style(s, host); });
  host.set_busy(false);
  if (!findings) return;

  auto& d = s.typcheck;
  d.findings = std::move(*findings);
  d.style_dir = style_directory(s, s.style_name);
  d.typ_file = s.typ_file;
  d.List1.items.clear();
  d.List1.index = -1;
  d.marks.clear();
  for (const auto& f : d.findings) {
    std::string line;
    for (const auto& field : finding_fields(f))
      if (!field.empty()) line += (line.empty() ? "" : "   ") + field;
    d.List1.items.push_back(line);
    if (f.kind >= 0 && !f.key.empty())
      d.marks[kind_type_key(f.kind, f.key)] |= f.severity == Severity::warning;
  }
  d.Label1.caption = findings_summary(d.findings) + ": " + s.style_name + " against " + s.typ_file;
  d.closing = false;
  attempt_quietly([&] { plot(s, host, s.result_count); });
  host.set_busy(false);
  host.show_dialog(Dialog::typ_check);
}

void typ_findings_Close(AppState& s) {
  s.typcheck.closing = true;
}

void typ_findings_DblClick(AppState& s, Host& host, int index) {
  const auto& d = s.typcheck;
  if (index < 0 || static_cast<std::size_t>(index) >= d.findings.size()) return;
  const auto& f = d.findings[static_cast<std::size_t>(index)];
  if (f.file.empty()) return;
  open_document(host, f.file, true, f.file == d.typ_file ? "the TYP file" : "the rule file",
                f.line);
}

std::vector<std::string> finding_fields(const TypFinding& f) {
  const std::string& file = f.name;
  std::string where = file.empty() ? "" : f.line > 0 ? file + ":" + text::decimal(f.line) : file;
  return {severity_name(f.severity),
          f.kind < 0 ? "" : kind_name(f.kind),
          f.type,
          where,
          f.finding,
          f.detail};
}

}  // namespace zw
