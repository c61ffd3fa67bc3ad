#include <ostream>

#include "analysis/analysis.h"
#include "base/paths.h"
#include "app/typ_check_run.h"
#include "cli/commands.h"

namespace zw::cli {

int run_check(const std::vector<std::string>& words, Io& io) {
  auto options = common_options();
  options.insert(options.end(), {{"--typ", true}, {"--family-id", true}});
  auto args = parse_args(words, options);
  if (args.positional.size() != 1) throw UsageError("give one style directory");
  if (args.value("--typ").empty()) throw UsageError("--typ needs a TYP text file");
  std::optional<long> family_id;
  if (args.has("--family-id")) family_id = whole_option(args, "--family-id", 0, 65535);

  Session session(io.err, io.app_dir);
  start_session(session, args);
  if (!open_session(session, args.positional[0])) return 2;
  auto& s = session.state;
  s.typ_file = paths::to_host(args.value("--typ"));
  auto findings = check_style(s, session.host, family_id);
  if (!findings) return 2;
  bool warned = false;
  for (const auto& f : *findings) {
    const char* sep = "";
    for (const auto& field : finding_fields(f)) {
      io.out << sep << escape_field(field);
      sep = "\t";
    }
    io.out << "\n";
    warned = warned || f.severity == Severity::warning;
  }
  io.out << "summary\t" << findings_summary(*findings) << "\n";
  return warned ? 1 : 0;
}

}  // namespace zw::cli
