/// @file
/// Text with the runtime's rules, the one module every layer uses: single-byte texts, letter
/// case of the ASCII letters only (a byte from 0x80 is never folded), blanks trimmed as the
/// runtime trims them.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

/// ASCII letter case and blanks.
namespace ldgr::ascii {

/// @{
/// The character in upper case (a to z) or lower case (A to Z); any other byte as it is.
constexpr char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
/// @}

/// @{
/// The text with its ASCII letters in upper or lower case; any other byte as it is.
inline std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return Upper(c); });
    return upper;
}
inline std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return Lower(c); });
    return lower;
}
/// @}

/// Whether two characters are the same, ASCII letter case ignored.
constexpr bool SameIgnoringCase(char a, char b) {
    return Upper(a) == Upper(b);
}

/// Whether the texts are equal, ASCII letter case ignored.
constexpr bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameIgnoringCase);
}

/// Whether part occurs in text, as the runtime's InStr finds it: an empty text holds nothing,
/// not even the empty part.
constexpr bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), SameIgnoringCase) !=
           text.end();
}

/// Whether text begins with prefix, letter case ignored; every text begins with the empty one.
constexpr bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

/// The part of text without the characters isBlank accepts at either end: always a view into
/// text, for a text of blanks alone the empty view at its end. A loop, not a search for each
/// character in a set: parsers trim every line they read.
template <class IsBlank>
constexpr std::string_view TrimWhere(std::string_view text, IsBlank isBlank) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}
/// The part of text without spaces at both ends (tabs stay, as the runtime's Trim leaves them).
constexpr std::string_view Trim(std::string_view text) {
    return TrimWhere(text, [](char c) { return c == ' '; });
}
/// The part of text without spaces and tabs at both ends.
constexpr std::string_view TrimBlanks(std::string_view text) {
    return TrimWhere(text, [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace ldgr::ascii
