#include "image/utf_text.h"

#include <gtest/gtest.h>

namespace image {
namespace {

// Every invalid sequence becomes one U+FFFD; what follows it is read afresh.
TEST(UtfText, InvalidUtf8BecomesReplacementCharacters) {
    const struct {
        const char* what;
        std::string in;
        std::u16string out;
    } cases[] = {
        {"plain and two-byte", "A\xC3\xA9", u"A\u00E9"},
        {"four bytes make a pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"lone surrogate", "\xED\xA0\x80", u"\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD"},
        {"overlong slash", "\xC0\xAF", u"\uFFFD"},
        {"overlong three bytes", "\xE0\x80\xAF", u"\uFFFD"},
        {"a lead without its continuation keeps the next byte",
         "\xC3"
         "A",
         u"\uFFFDA"},
        {"cut at the end", "A\xE2\x82", u"A\uFFFD\uFFFD"},
        {"stray continuation", "\x80", u"\uFFFD"},
        {"bad lead",
         "\xFF"
         "B",
         u"\uFFFDB"},
    };
    for (const auto& c : cases) {
        const auto units = utf8ToUtf16(c.in);
        EXPECT_EQ(std::u16string(units.begin(), units.end()), c.out) << c.what;
    }
}

TEST(UtfText, RoundTripsAndRepairsUnpairedSurrogates) {
    const std::string text = "Makro \xE5\xAE\x8F \xF0\x9F\x98\x80";
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(text)), text);
    EXPECT_EQ(utf16ToUtf8({u'a', 0xD800, u'b'}),
              "a\xEF\xBF\xBD"
              "b");
}

}  // namespace
}  // namespace image
