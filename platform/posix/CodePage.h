// Unicode text in the system code page (Windows-1252), and that code page's letter case.
#pragma once

#include <string>
#include <string_view>

namespace platform::posix {

// UTF-16LE bytes as code-page text, one character per 16-bit unit or surrogate pair. Characters
// the code page cannot show become '?'; an odd last byte is dropped.
std::string Utf16LeToCodePage(std::string_view bytes);
// UTF-8 text as code-page text. Characters the code page cannot show, and bytes that are not
// valid UTF-8, become '?'.
std::string Utf8ToCodePage(std::string_view text);
// The upper-case form of a code-page character (letters with accents included), as Windows
// compares registry names.
char UpperCodePage(char c);
// Whether two code-page texts are equal when letter case is ignored.
bool SameIgnoringCase(std::string_view a, std::string_view b);

} // namespace platform::posix
