#include "base/failure.h"

namespace zw {

void fail(const std::string& description) {
  throw RunError(description);
}

}  // namespace zw
