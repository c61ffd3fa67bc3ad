#include <gtest/gtest.h>

#include "base/text.h"

namespace zw::text {
namespace {

// What the readers' own tests do not reach: a match right at the start
// position, and bytes of UTF-8 or Windows-1252 names that look like letters.
TEST(Text, PositionsCountFromOneAndCaseChangesLeaveNonAsciiBytesAlone) {
  EXPECT_EQ(find("abcabc", "b", 5), 5);
  EXPECT_EQ(lower("Stra\xc3\x9f"
                  "e \xc3\x84 \xc9"),
            "stra\xc3\x9f"
            "e \xc3\x84 \xc9");
  EXPECT_EQ(upper("0x2f06 \xe9"), "0X2F06 \xe9");
}

}  // namespace
}  // namespace zw::text
