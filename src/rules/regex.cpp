#include "rules/regex.h"

#ifdef ZW_HAVE_PCRE2
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#endif

namespace zw::rules {

// A match may take this many backtracking steps; the rules of real styles need
// a few hundred.
constexpr unsigned match_limit = 1'000'000;

#ifdef ZW_HAVE_PCRE2

struct Regex::Impl {
  pcre2_code* code = nullptr;
  pcre2_match_context* context = nullptr;
  ~Impl() {
    pcre2_match_context_free(context);
    pcre2_code_free(code);
  }
};

bool regex_available() {
  return true;
}

std::unique_ptr<Regex> Regex::compile(const std::string& pattern, std::string& error) {
  int code = 0;
  PCRE2_SIZE offset = 0;
  // Java's matches(): the whole value. UTF so that "." takes a whole letter.
  auto* compiled =
      pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                    PCRE2_ANCHORED | PCRE2_ENDANCHORED | PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &code,
                    &offset, nullptr);
  if (!compiled) {
    PCRE2_UCHAR buffer[256];
    pcre2_get_error_message(code, buffer, sizeof buffer);
    error = "bad regular expression '" + pattern + "': " + reinterpret_cast<const char*>(buffer);
    return nullptr;
  }
  std::unique_ptr<Regex> r(new Regex());
  r->impl_ = std::make_unique<Impl>();
  r->impl_->code = compiled;
  r->impl_->context = pcre2_match_context_create(nullptr);
  pcre2_set_match_limit(r->impl_->context, match_limit);
  pcre2_set_depth_limit(r->impl_->context, 10'000);
  return r;
}

Regex::Result Regex::matches(std::string_view value) const {
  auto* data = pcre2_match_data_create_from_pattern(impl_->code, nullptr);
  int rc = pcre2_match(impl_->code, reinterpret_cast<PCRE2_SPTR>(value.data()), value.size(), 0, 0,
                       data, impl_->context);
  pcre2_match_data_free(data);
  if (rc >= 0) return Result::yes;
  if (rc == PCRE2_ERROR_NOMATCH) return Result::no;
  return Result::too_much_work;
}

#else

struct Regex::Impl {};

bool regex_available() {
  return false;
}

std::unique_ptr<Regex> Regex::compile(const std::string&, std::string& error) {
  error = "regular expressions cannot be evaluated by this build";
  return nullptr;
}

Regex::Result Regex::matches(std::string_view) const {
  return Result::no;
}

#endif

Regex::~Regex() = default;

}  // namespace zw::rules
