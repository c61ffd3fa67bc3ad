#include <ostream>

#include "app/paths.h"
#include "cli/commands.h"

namespace zw::cli {
namespace {

constexpr const char* version_text = "zoomwright-cli 2.51";

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
      {"convert", "  convert STYLE_DIR NEW_NAME [--yes]\n", run_convert},
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
  for (const auto& w : words)
    if (w == "--help" || w == "-h") {
      io.out << "usage:\n" << command->usage;
      return 0;
    }
  try {
    return command->run(words, io);
  } catch (const UsageError& e) {
    io.err << "zoomwright-cli " << command->name << ": " << e.what() << "\nusage:\n"
           << command->usage;
    return 2;
  }
}

}  // namespace zw::cli
