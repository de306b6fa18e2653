/// @file
/// ASCII letter case and blanks, as the program's names and keywords compare them: the one
/// folding every layer uses.
#pragma once

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
inline std::string Upper(std::string text) {
    for (char& c : text) {
        c = Upper(c);
    }
    return text;
}
inline std::string Lower(std::string text) {
    for (char& c : text) {
        c = Lower(c);
    }
    return text;
}
/// @}

/// Whether the texts are equal, ASCII letter case ignored.
constexpr bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

/// The text without the given blanks at either end.
inline std::string Trim(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

} // namespace ldgr::ascii
