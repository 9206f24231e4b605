// UTF-16 texts of resources become UTF-8.
#include "src/platform/resources/utf16.h"

#include <gtest/gtest.h>

namespace zor::resources {
namespace {

struct Case {
    const char *name;
    std::u16string utf16;
    std::string utf8;
};

TEST(Utf16ToUtf8, ConvertsEveryLengthAndReplacesUnpairedSurrogates)
{
    const Case cases[] = {
        {"empty", u"", ""},
        {"ascii", u"ZOR Setup", "ZOR Setup"},
        {"two bytes", u"\u00FC\u00DF", "\xC3\xBC\xC3\x9F"},
        {"three bytes", u"\u20AC\uFFFF", "\xE2\x82\xAC\xEF\xBF\xBF"},
        {"pair", u"a\xD83D\xDE00z", "a\xF0\x9F\x98\x80z"},
        {"highest pair", u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},
        {"high at the end", u"a\xD83D", "a\xEF\xBF\xBD"},
        {"high before a letter", u"\xD83Dz", "\xEF\xBF\xBDz"},
        {"two highs then a low", u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
        {"lone low", u"\xDE00", "\xEF\xBF\xBD"},
        {"low before high", u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"embedded zero", std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.name;
}

}  // namespace
}  // namespace zor::resources
