#include <gtest/gtest.h>

#include "base/text.h"
#include "platform/headless/headless_host.h"

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

// Each escaped byte at each place of a text long enough to be read by words,
// among bytes that look alike to a word-wise test (other control bytes, bytes
// above 0x7f, the neighbours of the backslash), which stay as they are.
TEST(Text, FieldsEscapeTheirControlBytesWhereverTheyStand) {
  const std::string plain = std::string("ab\x01\x1f[]\x80\xff") + "0123456789z";
  EXPECT_EQ(zw::escape_field(plain), plain);
  const struct {
    char byte;
    const char* escape;
  } cases[] = {{'\\', "\\\\"}, {'\t', "\\t"}, {'\r', "\\r"}, {'\n', "\\n"}, {'\0', "\\0"}};
  // Texts of every length from one word to two and more, so that the last
  // bytes after the whole words are of every count too.
  for (std::size_t length = 7; length <= plain.size(); ++length)
    for (const auto& c : cases)
      for (std::size_t at = 0; at <= length; ++at) {
        std::string part = plain.substr(0, length), text = part;
        text.insert(at, 1, c.byte);
        EXPECT_EQ(zw::escape_field(text), part.substr(0, at) + c.escape + part.substr(at))
            << c.escape << " at " << at << " of " << length;
      }
}

}  // namespace
}  // namespace zw::text
