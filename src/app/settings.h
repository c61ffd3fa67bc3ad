#pragma once
#include <string>

#include "model/state.h"
#include "platform/host.h"

namespace zw {

// levels.dat in app_dir: the user's choices, written on close, read at start-up.
void savedata(AppState& s, Host& host);
void loaddata(AppState& s, Host& host);
// fonts.dat: the font list of Combo1, written once and read at every activation.
void savefnts(AppState& s, Host& host, const std::string& path);
void ldfnts(AppState& s, Host& host, const std::string& path);

// Reads a settings file field by field: leading blanks skipped, a field in
// double quotes runs to the closing quote, any other to the next comma or the
// end of the line. Once a read fails, every later read fails too.
class FieldReader {
 public:
  // The longest field read; a longer one fails like a missing one.
  static constexpr std::size_t max_field_chars = 32767;

  explicit FieldReader(std::string text) : text_(std::move(text)) {}
  bool text_field(std::string& out);
  // A number field, whole and within [lo, hi] after rounding halves to even.
  bool whole_field(long long& out, long long lo, long long hi);
  bool number_field(double& out);
  bool failed() const { return failed_; }

 private:
  bool next(std::string& out);
  std::string text_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace zw
