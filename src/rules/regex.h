#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace zw::rules {

// A regular expression in Java's syntax that must match a whole value, as the
// rule language's "~" asks. Each match is bounded in work, so that a pattern
// that would backtrack for ever ends with an error instead of a hang.
class Regex {
 public:
  // nullptr with error set when the pattern is invalid or this build has no
  // regular expressions.
  static std::unique_ptr<Regex> compile(const std::string& pattern, std::string& error);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  enum class Result { no, yes, too_much_work };
  Result matches(std::string_view value) const;

 private:
  Regex() = default;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Whether this build evaluates regular expressions at all.
bool regex_available();

}  // namespace zw::rules
