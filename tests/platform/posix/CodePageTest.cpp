// Unicode text converted to the system code page, and the code page's letter case.
#include "platform/posix/CodePage.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using platform::posix::UpperCodePage;
using platform::posix::Utf16LeToCodePage;
using platform::posix::Utf8ToCodePage;

struct Conversion {
    const char* what;
    std::string input;
    std::string expected;
};

TEST(CodePage, Utf16LeToCodePage) {
    const std::vector<Conversion> cases = {
        {"ASCII and NUL", "A\0\0\0"s, "A\0"s},
        {"control character without a glyph", "\x81\0"s, "\x81"},
        {"C1 control the code page replaces", "\x80\0"s, "?"},
        {"letter outside the code page", "\x00\x01"s, "?"},
        {"surrogate pair is one character", "\x3D\xD8\x00\xDE"s, "?"},
        {"lone high surrogate",
         "\x3D\xD8"
         "A\0"s,
         "?A"},
        {"lone low surrogate", "\x00\xDE"s, "?"},
        {"odd last byte dropped", "A\0B"s, "A"},
        {"empty", "", ""},
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(Utf16LeToCodePage(c.input), c.expected) << c.what;
    }
}

TEST(CodePage, Utf8ToCodePage) {
    const std::vector<Conversion> cases = {
        {"two-byte letter", "caf\xC3\xA9", "caf\xE9"},
        {"four-byte character", "\xF0\x9F\x98\x80!", "?!"},
        {"letter outside the code page", "\xCE\xA9", "?"},
        {"stray continuation byte", "\x80x", "?x"},
        {"overlong slash", "\xC0\xAF", "??"},
        {"encoded surrogate", "\xED\xA0\x80", "???"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
        {"cut-off sequence", "a\xE2\x82", "a??"},
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(Utf8ToCodePage(c.input), c.expected) << c.what;
    }
}

TEST(CodePage, UpperCase) {
    const std::vector<std::pair<char, char>> cases = {
        {'a', 'A'},       {'1', '1'},       {'\xE9', '\xC9'}, {'\xFE', '\xDE'}, {'\xF7', '\xF7'},
        {'\xFF', '\x9F'}, {'\x9A', '\x8A'}, {'\xB5', '\xB5'}, {'\xDF', '\xDF'},
    };
    for (const auto& [lower, upper] : cases) {
        EXPECT_EQ(UpperCodePage(lower), upper)
            << static_cast<int>(static_cast<unsigned char>(lower));
    }
}

} // namespace
