#include <ostream>

#include "base/paths.h"
#include "cli/commands.h"
#include "typ/typ_reader.h"

namespace zw::cli {
namespace {

void print_table(std::ostream& out, const char* kind, const TypTable& t) {
  out << kind << '\t' << t.count << "\n";
  for (int k = 0; k < t.count; ++k) {
    auto e = static_cast<std::size_t>(k);
    if (e >= t.type.size() || e >= t.colours.size() || e >= t.pixels.size()) break;
    out << k << '\t' << escape_field(t.type[e]) << '\t' << escape_field(t.colours[e]) << '\t'
        << escape_field(t.pixels[e]) << "\n";
  }
}

}  // namespace

int run_typ(const std::vector<std::string>& words, Io& io) {
  auto args = parse_args(words, common_options());
  if (args.positional.size() != 1) throw UsageError("give one TYP text file");
  Session session(io.err, io.app_dir);
  start_session(session, args);
  auto& s = session.state;
  std::string path = paths::to_host(args.positional[0]);
  bool read = loadtyp(s, session.host, path);
  print_table(io.out, "polygons", s.typ.polygons);
  print_table(io.out, "lines", s.typ.lines);
  print_table(io.out, "points", s.typ.points);
  // A file too large (or otherwise unreadable) fails as a missing one does.
  return read && session.host.unread_files == 0 ? 0 : 1;
}

}  // namespace zw::cli
