#include "support/cli_runner.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/test_app.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace zw::test {
#ifdef ZW_CLI_PATH
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

}  // namespace
#endif

CliResult run_cli(const std::vector<std::string>& args) {
#ifndef ZW_CLI_PATH
  (void)args;
  return {};
#else
  TempDir dir;
  std::string command = quoted(ZW_CLI_PATH);
  for (const auto& a : args) command += " " + quoted(a);
  command += " >" + quoted(dir.at("out")) + " 2>" + quoted(dir.at("err"));
  int raw = std::system(command.c_str());
  CliResult r;
#ifdef _WIN32
  r.status = raw;
#else
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
  r.out = slurp(dir.at("out"));
  r.err = slurp(dir.at("err"));
  return r;
#endif
}

}  // namespace zw::test
