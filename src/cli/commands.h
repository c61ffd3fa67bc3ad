#pragma once
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/session.h"

namespace zw::cli {

struct Io {
  std::ostream& out;
  std::ostream& err;
  std::string app_dir;
};

struct Command {
  const char* name;
  const char* usage;  // the command's usage lines
  int (*run)(const std::vector<std::string>& words, Io& io);
};

// Every command, in the order the usage lists them.
const std::vector<Command>& commands();

// Options that every command takes.
std::vector<OptionSpec> common_options();
// Questions are answered Yes with --yes, otherwise No.
void answer_questions(Session& session, const Args& args);
// A session started with the common options (--system-dir, --yes).
void start_session(Session& session, const Args& args);

// The options of the analysis, shared by analyse and chart.
std::vector<OptionSpec> analysis_options();
// Selects the style, clicks the kind, sets the boxes and runs the analysis
// command (and the scale-label click); true when the analysis read the style.
// before_start runs once the arguments are found sound, before anything else
// (the questions are answered as --yes says); false from it stops the run.
// before_check runs just before the analysis command, once the boxes are set.
bool run_analysis(Session& session, const Args& args,
                  const std::function<bool()>& before_start = {},
                  const std::function<void()>& before_check = {});
// Prints rows, lowest and one line per result row.
void print_rows(const Session& session, std::ostream& out);

int run_analyse(const std::vector<std::string>& words, Io& io);
int run_levels(const std::vector<std::string>& words, Io& io);
int run_chart(const std::vector<std::string>& words, Io& io);
int run_typ(const std::vector<std::string>& words, Io& io);
int run_convert(const std::vector<std::string>& words, Io& io);

// The whole CLI: returns the exit status.
int run(const std::vector<std::string>& argv, Io& io);

}  // namespace zw::cli
