// Unicode text converted to the system code page, and the code page's letter case.
#include "ledgerline/platform/posix/CodePage.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace std::string_literals;
using namespace platform::posix;

TEST(CodePage, ConversionsReplaceWhatTheCodePageLacks) {
    struct Row {
        const char* name;
        std::string (*convert)(std::string_view);
        std::string input;
        std::string expected;
    };
    const Row rows[] = {
        {"UTF-16: ASCII, NUL and an odd last byte", Utf16LeToCodePage, "A\0\0\0B"s, "A\0"s},
        {"UTF-16: control character without a glyph", Utf16LeToCodePage, "\x81\0"s, "\x81"},
        {"UTF-16: C1 control the code page replaces", Utf16LeToCodePage, "\x80\0"s, "?"},
        {"UTF-16: surrogate pair is one character", Utf16LeToCodePage, "\x3D\xD8\x00\xDE"s, "?"},
        {"UTF-16: pair of the lowest surrogates", Utf16LeToCodePage, "\x00\xD8\x00\xDC"s, "?"},
        {"UTF-16: lone surrogates", Utf16LeToCodePage, "\x3D\xD8\x41\0\x00\xDC"s, "?A?"},
        {"UTF-8: first two-byte character", Utf8ToCodePage, "\xC2\xA0", "\xA0"},
        {"UTF-8: last letter of the code page", Utf8ToCodePage, "\xC3\xBF", "\xFF"},
        {"UTF-8: four-byte character", Utf8ToCodePage, "\xF0\x9F\x98\x80!", "?!"},
        {"UTF-8: three-byte character of the last lead byte", Utf8ToCodePage, "\xEF\xBC\xA1!",
         "?!"},
        {"UTF-8: stray continuation byte", Utf8ToCodePage, "\x80x", "?x"},
        {"UTF-8: overlong slash", Utf8ToCodePage, "\xC0\xAF", "??"},
        {"UTF-8: encoded surrogate", Utf8ToCodePage, "\xED\xA0\x80", "???"},
        {"UTF-8: last encoded surrogate", Utf8ToCodePage, "\xED\xBF\xBF", "???"},
        {"UTF-8: cut-off sequence", Utf8ToCodePage, "a\xE2\x82", "a??"},
        // Bytes 0x80 to 0x9F are the code page's own characters; from 0xA0 on they are Latin-1.
        {"to the host", CodePageToHost, "a\x80\x9F\xA0\xFF",
         "a\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.convert(row.input), row.expected) << row.name;
    }
}

TEST(CodePage, UpperCase) {
    const std::pair<char, char> cases[] = {
        {'a', 'A'},       {'1', '1'},       {'\xE9', '\xC9'}, {'\xFE', '\xDE'}, {'\xF7', '\xF7'},
        {'\xFF', '\x9F'}, {'\x9A', '\x8A'}, {'\xB5', '\xB5'}, {'\xDF', '\xDF'},
    };
    for (const auto& [lower, upper] : cases) {
        EXPECT_EQ(UpperCodePage(lower), upper)
            << static_cast<int>(static_cast<unsigned char>(lower));
    }
}

} // namespace
