// Windows-only: text between the system's ANSI code page, UTF-16 and UTF-8.
#include "platform/win32/Win32.h"

#include <gtest/gtest.h>

namespace {

using platform::win32::FromWide;
using platform::win32::ToUtf8;

// A character the code page lacks becomes "?", never a look-alike that names another file.
TEST(Win32Text, CharactersTheCodePageLacksBecomeQuestionMarks) {
    EXPECT_EQ(FromWide(L"a\u0141b\uFF02c"), "a?b?c");
    EXPECT_EQ(FromWide(L"caf\u00E9"), "caf\xE9");
}

// The message-box log is UTF-8: bytes 0x80 to 0x9F are the code page's characters there
// (the euro sign), not control characters.
TEST(Win32Text, AnsiTextBecomesUtf8ThroughTheCodePage) {
    EXPECT_EQ(ToUtf8("\x80 caf\xE9"), "\xE2\x82\xAC caf\xC3\xA9");
}

} // namespace
