#include "base/failure.h"

namespace zw {

void fail(const std::string& description) {
  throw RunError(description);
}

void fail_subscript(const char* name, long long index, std::size_t size) {
  fail("Subscript out of range: " + std::string(name) + "(" + std::to_string(index) +
       ") is outside 0 to " + std::to_string(static_cast<long long>(size) - 1));
}

}  // namespace zw
