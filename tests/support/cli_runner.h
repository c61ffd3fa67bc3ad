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

}  // namespace zw::test
