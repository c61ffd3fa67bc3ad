#include "cli/args.h"

#include <cstdlib>

namespace zw::cli {

std::string Args::value(const std::string& name) const {
  auto it = options.find(name);
  return it == options.end() || it->second.empty() ? std::string() : it->second.back();
}

const std::vector<std::string>& Args::values(const std::string& name) const {
  static const std::vector<std::string> none;
  auto it = options.find(name);
  return it == options.end() ? none : it->second;
}

Args parse_args(const std::vector<std::string>& words, const std::vector<OptionSpec>& specs) {
  Args args;
  bool options_end = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto& w = words[i];
    // "--" ends the options: what follows is taken as written, "-x" names too.
    if (w == "--" && !options_end) {
      options_end = true;
      continue;
    }
    if (options_end || w.size() < 2 || w[0] != '-') {
      args.positional.push_back(w);
      continue;
    }
    const OptionSpec* option = nullptr;
    for (const auto& s : specs)
      if (s.name == w) option = &s;
    if (!option) throw UsageError("unknown option " + w);
    if (!option->takes_value) {
      args.options[w].push_back("");
      continue;
    }
    if (i + 1 >= words.size()) throw UsageError("option " + w + " needs a value");
    args.options[w].push_back(words[++i]);
  }
  return args;
}

int whole_option(const Args& args, const std::string& name, int lo, int hi) {
  auto text = args.value(name);
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < lo || v > hi)
    throw UsageError(name + " needs a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not \"" + text + "\"");
  return static_cast<int>(v);
}

}  // namespace zw::cli
