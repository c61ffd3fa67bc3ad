#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>

#include "platform/host.h"

// The program's failure convention: an unexpected failure inside a step is shown
// with its description and the procedure goes on with its next step; where a
// procedure skips failures silently, the same step runs without the message.
// A failing step never writes outside a table: every access is bounded.
namespace zw {

class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& description);

// Runs one step; a failure becomes a message box with its description.
template <class Step>
void attempt(Host& host, Step&& step) {
  try {
    step();
  } catch (const std::exception& e) {
    host.message(e.what());
  }
}

// Runs one step; a failure becomes a message box that first names where it
// happened ("FILE, line N").
template <class Step>
void attempt_at(Host& host, const std::string& where, Step&& step) {
  try {
    step();
  } catch (const std::exception& e) {
    host.message(where + ": " + e.what());
  }
}

// Runs one step; a failure is ignored.
template <class Step>
void attempt_quietly(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

// The failure of an access outside a table of `size` rows; kept out of line,
// so that every access stays small enough to be inlined.
[[noreturn]] void fail_subscript(const char* name, long long index, std::size_t size);

// Bounded element access for every table of the program.
template <class Table>
decltype(auto) bounded(Table& table, long long index, const char* name) {
  if (index < 0 || static_cast<unsigned long long>(index) >= table.size()) [[unlikely]]
    fail_subscript(name, index, table.size());
  return table[static_cast<std::size_t>(index)];
}

}  // namespace zw
