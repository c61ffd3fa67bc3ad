#include <exception>
#include <ostream>

#include "base/paths.h"
#include "cli/commands.h"

namespace zw::cli {
namespace {

constexpr const char* version_text = "zoomwright-cli 2.51";

constexpr const char* diff_details =
    "\nAnalyses both styles as analyse --all does (all kinds unless --kind is given,\n"
    "included files with --inc), each with its own levels, and compares them rule\n"
    "by rule on what mkgmap draws: a rule is drawn at main level i when\n"
    "res_from <= the resolution of level i <= res_to. Rules are matched within a\n"
    "kind by type and rule text without its resolution or level part, blanks\n"
    "squeezed; rules that share these are paired in file order.\n"
    "\n"
    "Output (fields separated by TAB):\n"
    "  levels  OLD_LEVELS NEW_LEVELS   only when the styles declare other levels\n"
    "  CLASS KIND OLD_LINE NEW_LINE OLD_DRAWN NEW_DRAWN TYPE RULE_TEXT\n"
    "      one line per rule that is not drawn as before:\n"
    "      CLASS      moved (drawn at other levels), old-only or new-only\n"
    "      KIND       polygons, lines or points\n"
    "      OLD_LINE   the rule's line in the old style (a)12: line 12 of the\n"
    "                 first included file), - when it has none; NEW_LINE alike\n"
    "      OLD_DRAWN  the main levels the old style draws it at, as ranges\n"
    "                 (0-2, 0-1,3), - for none; NEW_DRAWN alike\n"
    "      TYPE       the type code; RULE_TEXT the rule (the new one if any)\n"
    "  summary KIND SAME MOVED OLD_ONLY NEW_ONLY   one line per kind\n"
    "\n"
    "--out writes the chart of those rules, the old bar above the new one, as\n"
    "chart writes its images.\n"
    "Exit status: 0 when every rule is drawn as before, 1 when some are not,\n"
    "2 for a usage error or a style that cannot be read.\n";

constexpr const char* convert_details =
    "\nWrites a level-based copy of the style beside it, named NEW_NAME, as Tools >\n"
    "Change Resolution to Level does (a STYLE_DIR of . or .. is the folder it leads\n"
    "to). A NEW_NAME that leads to the style itself, into it or around it is refused;\n"
    "an existing NEW_NAME is replaced only with --yes, and a folder in it that is a\n"
    "link becomes a folder of its own. Ends with the comparison of the copy against\n"
    "the style: \"Levels kept for N rules; M rules drawn at other levels\".\n"
    "Exit status: 0 when the copy was written whole, 1 when the conversion was\n"
    "refused or a file could not be written (each named, with the reason), 2 for a\n"
    "usage error.\n";

constexpr const char* check_details =
    "\nChecks what the style draws (every rule of all three kinds, included files\n"
    "followed, as analyse --all --inc finds them) against the TYP text file.\n"
    "\n"
    "Output (fields separated by TAB), warnings first:\n"
    "  SEVERITY KIND TYPE FILE:LINE FINDING DETAIL   one line per finding\n"
    "      SEVERITY   warning or note\n"
    "      KIND       polygons, lines or points (empty for the family id)\n"
    "      TYPE       the type as the style writes it (0x2f06)\n"
    "      FILE:LINE  the rule (its file relative to the style) or, for an entry\n"
    "                 of the TYP file, the TYP file's section\n"
    "      FINDING    missing-type          a drawn type the TYP file does not define\n"
    "                                       (a warning for extended types)\n"
    "                 not-in-draw-order     a drawn polygon absent from [_drawOrder]:\n"
    "                                       the device does not draw it\n"
    "                 looks-alike           two types drawn at a shared level with\n"
    "                                       colours less than 3 apart (CIEDE2000), the\n"
    "                                       same pattern and, for lines, width\n"
    "                 family-id             the TYP file's FID is not --family-id\n"
    "                 unused-entry          a TYP entry that no rule draws (note)\n"
    "                 duplicate-entry       a type defined twice (note)\n"
    "                 night-colours-missing a day/night pair without its night part\n"
    "  summary  W warnings, N notes\n"
    "Exit status: 0 when there is nothing above a note, 1 when there is, 2 for a\n"
    "usage error or a style or TYP file that cannot be read.\n";

constexpr const char* trace_details =
    "\nRuns the style's rules over the OSM data (.osm.pbf, .osm, .osm.gz, .osm.bz2)\n"
    "as mkgmap does: relations first (their apply actions reach the members), then\n"
    "nodes against points, ways against lines and closed ways against lines and\n"
    "then polygons. Every kind unless --kind is given; rules of included files are\n"
    "listed with --inc (they always run).\n"
    "\n"
    "Output (fields separated by TAB):\n"
    "  KIND FILE LINE TYPE LEVELS CAUGHT EXAMPLES   one line per rule, in order:\n"
    "      FILE     the rule file as its include statement names it\n"
    "      LINE     the line of the rule's first type, or of its test\n"
    "      TYPE     the type codes, - for an action block, finalize for that section\n"
    "      LEVELS   the main levels it is drawn at (0-2), - for none\n"
    "      CAUGHT   the elements whose tags it matched, or \"not evaluated: WHY\"\n"
    "      EXAMPLES up to three of them (way/123)\n"
    "  unmatched KIND COUNT TAGS   the commonest tag combinations no type catches\n"
    "                              (--unmatched N per kind, default 10)\n"
    "  summary KIND READ CAUGHT NOT_CAUGHT IDLE_RULES NOT_EVALUATED\n"
    "\n"
    "--explain prints one element's tags, every rule tested with its result and the\n"
    "tags its actions changed, and the types it became.\n"
    "Exit status: 0 when the trace ran, 2 for a usage error or a style or data file\n"
    "that cannot be read (named, with the line for a rule).\n";

void print_usage(std::ostream& out) {
  out << "usage: zoomwright-cli COMMAND [options]\n\ncommands:\n";
  for (const auto& c : commands()) out << c.usage;
  out << "\ncommon options:\n"
         "  --system-dir DIR   read the category files from DIR (created when missing)\n"
         "  --yes              answer Yes to every question (otherwise No)\n"
         "  --help             print this text; COMMAND --help prints the command's usage\n"
         "  --version          print the version\n";
}

const Command* find_command(const std::string& name) {
  for (const auto& c : commands())
    if (name == c.name) return &c;
  return nullptr;
}

}  // namespace

const std::vector<Command>& commands() {
  static const std::vector<Command> all = {
      {"analyse",
       "  analyse STYLE_DIR --kind polygons|lines|points [--inc] [--sort] [--all]\n"
       "          [--category NAME]... [--text TEXT] [--resolution N]\n",
       run_analyse},
      {"levels", "  levels STYLE_DIR\n", run_levels},
      {"chart",
       "  chart STYLE_DIR --kind polygons|lines|points [analyse options] [--typ FILE]\n"
       "          [--show-text] [--overview-only] [--width TWIPS] --out FILE.bmp|FILE.png\n",
       run_chart},
      {"typ", "  typ FILE\n", run_typ},
      {"convert", "  convert STYLE_DIR NEW_NAME [--yes]\n", run_convert, convert_details},
      {"diff",
       "  diff OLD_STYLE NEW_STYLE [--kind polygons|lines|points] [--inc]\n"
       "          [--out FILE.png|FILE.bmp]\n",
       run_diff, diff_details},
      {"check", "  check STYLE_DIR --typ FILE [--family-id N]\n", run_check, check_details},
      {"trace",
       "  trace STYLE_DIR DATA [--kind polygons|lines|points|relations] [--inc]\n"
       "          [--unmatched N] [--explain node/ID|way/ID|relation/ID]\n",
       run_trace, trace_details},
  };
  return all;
}

std::vector<OptionSpec> common_options() {
  return {{"--system-dir", true}, {"--yes", false}};
}

void answer_questions(Session& session, const Args& args) {
  session.host.default_answer = args.has("--yes") ? Answer::yes : Answer::no;
}

void start_session(Session& session, const Args& args) {
  answer_questions(session, args);
  session.start(args.value("--system-dir"));
}

int run(const std::vector<std::string>& argv, Io& io) {
  if (argv.size() < 2) {
    print_usage(io.err);
    return 2;
  }
  const auto& first = argv[1];
  if (first == "--help" || first == "-h") {
    print_usage(io.out);
    return 0;
  }
  if (first == "--version") {
    io.out << version_text << "\n";
    return 0;
  }
  const Command* command = find_command(first);
  if (!command) {
    io.err << "zoomwright-cli: unknown command \"" << first << "\"\n";
    print_usage(io.err);
    return 2;
  }
  std::vector<std::string> words(argv.begin() + 2, argv.end());
  for (const auto& w : words) {
    if (w == "--") break;  // what follows is no option
    if (w == "--help" || w == "-h") {
      io.out << "usage:\n" << command->usage << command->details;
      return 0;
    }
  }
  try {
    return command->run(words, io);
  } catch (const UsageError& e) {
    io.err << "zoomwright-cli " << command->name << ": " << e.what() << "\nusage:\n"
           << command->usage;
    return 2;
  } catch (const std::exception& e) {
    // What no step of the command catches (the drawing module missing, memory).
    io.err << "zoomwright-cli " << command->name << ": " << e.what() << "\n";
    return 2;
  }
}

}  // namespace zw::cli
