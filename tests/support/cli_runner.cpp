#include "support/cli_runner.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/test_app.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zw::test {
namespace {

std::string quoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

int exit_status(int raw) {
#ifdef _WIN32
  return raw;
#else
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

}  // namespace

CliResult run_program(const std::vector<std::string>& command, const std::string& workdir) {
  TempDir dir;
  std::string line = workdir.empty() ? "" : "cd " + quoted(workdir) + " && ";
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (i) line += ' ';
    line += quoted(command[i]);
  }
  line += " >" + quoted(dir.at("out")) + " 2>" + quoted(dir.at("err"));
  CliResult r;
  r.status = exit_status(std::system(line.c_str()));
  r.out = slurp(dir.at("out"));
  r.err = slurp(dir.at("err"));
  return r;
}

bool on_path(const std::string& program) {
  return exit_status(std::system(("command -v " + quoted(program) + " >/dev/null 2>&1").c_str())) ==
         0;
}

CliResult run_cli(const std::vector<std::string>& args) {
#ifndef ZW_CLI_PATH
  (void)args;
  return {};
#else
  std::vector<std::string> command{ZW_CLI_PATH};
  command.insert(command.end(), args.begin(), args.end());
  return run_program(command);
#endif
}

}  // namespace zw::test
