// Unicode text in the system code page (Windows-1252), and that code page's letter case.
#pragma once

#include <string>
#include <string_view>

namespace platform::posix {

// UTF-16LE bytes as code-page text, one character per 16-bit unit or surrogate pair. Characters
// the code page cannot show become '?'; an odd last byte is dropped.
std::string Utf16LeToCodePage(std::string_view bytes);
// UTF-8 text as code-page text. Characters the code page cannot show become '?'; so do bytes
// that are not valid UTF-8 (a file that says it is UTF-8 and is not).
std::string Utf8ToCodePage(std::string_view text);
// Host text (UTF-8: names, paths, the environment) as code-page text, as the ANSI calls of
// Windows give it: a character the code page lacks becomes '?'; bytes that are not valid
// UTF-8 are taken as they are, so a host name in another encoding still names its file.
std::string HostToCodePage(std::string_view text);
// Code-page text as host text (UTF-8).
std::string CodePageToHost(std::string_view text);
// The upper-case form of a code-page character (letters with accents included), as Windows
// compares registry names.
char UpperCodePage(char c);
// Whether two code-page texts are equal when letter case is ignored.
bool SameIgnoringCase(std::string_view a, std::string_view b);

} // namespace platform::posix
