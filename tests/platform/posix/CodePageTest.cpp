// Unicode text converted to the system code page, and the code page's letter case.
#include "ledgerline/platform/posix/CodePage.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using platform::posix::CodePageToHost;
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
        {"ASCII, NUL and an odd last byte", "A\0\0\0B"s, "A\0"s},
        {"control character without a glyph", "\x81\0"s, "\x81"},
        {"C1 control the code page replaces", "\x80\0"s, "?"},
        {"surrogate pair is one character", "\x3D\xD8\x00\xDE"s, "?"},
        {"pair with the lowest low surrogate", "\x3D\xD8\x00\xDC"s, "?"},
        {"lone high surrogate", "\x3D\xD8\x41\0"s, "?A"},
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(Utf16LeToCodePage(c.input), c.expected) << c.what;
    }
}

TEST(CodePage, Utf8ToCodePage) {
    const std::vector<Conversion> cases = {
        {"last letter of the code page", "\xC3\xBF", "\xFF"},
        {"four-byte character", "\xF0\x9F\x98\x80!", "?!"},
        {"stray continuation byte", "\x80x", "?x"},
        {"overlong slash", "\xC0\xAF", "??"},
        {"encoded surrogate", "\xED\xA0\x80", "???"},
        {"last encoded surrogate", "\xED\xBF\xBF", "???"},
        {"cut-off sequence", "a\xE2\x82", "a??"},
    };
    for (const Conversion& c : cases) {
        EXPECT_EQ(Utf8ToCodePage(c.input), c.expected) << c.what;
    }
}

// Bytes 0x80 to 0x9F are the code page's own characters; from 0xA0 on they are Latin-1.
TEST(CodePage, CodePageToHost) {
    EXPECT_EQ(CodePageToHost("a\x80\x9F\xA0\xFF"), "a\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF");
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
