#pragma once
#include <string>
#include <vector>

namespace zw::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the built zoomwright-cli with these arguments (no shell in between
// for the arguments: each is quoted).
CliResult run_cli(const std::vector<std::string>& args);

// Runs a program (command[0], looked up on PATH) with the rest as its
// arguments, each quoted, in workdir when one is given.
CliResult run_program(const std::vector<std::string>& command, const std::string& workdir = "");

// Whether a program of this name is on PATH.
bool on_path(const std::string& program);

}  // namespace zw::test
