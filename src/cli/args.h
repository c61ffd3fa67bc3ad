#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace zw::cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct OptionSpec {
  std::string name;  // with its dashes, e.g. "--kind"
  bool takes_value = false;
};

struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> options;

  bool has(const std::string& name) const { return options.count(name) > 0; }
  // The last value given for an option; "" when absent.
  std::string value(const std::string& name) const;
  const std::vector<std::string>& values(const std::string& name) const;
};

// Splits the words after the command into positional arguments and the given
// options; an unknown option or a missing value is a usage error.
Args parse_args(const std::vector<std::string>& words, const std::vector<OptionSpec>& specs);

// A whole number in [lo, hi] given to an option; a usage error otherwise.
int whole_option(const Args& args, const std::string& name, int lo, int hi);

}  // namespace zw::cli
