#include <gtest/gtest.h>

#include "base/display_text.h"

namespace zw {
namespace {

TEST(DisplayText, BytesDecodeAsUtf8OrElseWindows1252) {
  struct Case {
    std::string bytes;
    std::u16string shown;
  } cases[] = {
      {"Stra\xc3\x9f"
       "e",
       u"Stra\u00dfe"},
      {"Stra\xdf"
       "e",
       u"Stra\u00dfe"},
      {"\x80 \x93x\x94", u"\u20ac \u201cx\u201d"},
      {"\xc3", u"\u00c3"},                      // cut-off sequence
      {"\xe0\x80\x80", u"\u00e0\u20ac\u20ac"},  // overlong
      {"\xed\xa0\x80", u"\u00ed\u00a0\u20ac"},  // a surrogate is not UTF-8
      {"\xf0\x9f\x97\xba", u"\U0001F5FA"},      // beyond the first plane
      {"", u""},
      {"plain", u"plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(display_utf16(c.bytes), c.shown) << c.bytes;
}

TEST(DisplayText, TypedTextBecomesUtf8) {
  struct Case {
    std::u16string typed;
    std::string bytes;
  } cases[] = {
      {u"caf\u00e9", "caf\xc3\xa9"},
      {u"\U0001F5FA", "\xf0\x9f\x97\xba"},
      {std::u16string(1, char16_t(0xD800)) + u"x", "\xef\xbf\xbdx"},  // a lone surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(typed_utf8(c.typed), c.bytes);
  EXPECT_EQ(display_utf16(typed_utf8(u"\u20ac \u00df")), u"\u20ac \u00df");
}

}  // namespace
}  // namespace zw
