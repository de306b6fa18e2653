/// @file
/// Text operations with the runtime's rules: single-byte texts, letter case ignored where asked.
#pragma once

#include <string>
#include <string_view>

/// Text operations with the runtime's rules.
namespace ldgr::text {

/// @{
/// The text with its letters a to z in upper case, or A to Z in lower case; other bytes stay.
std::string Upper(std::string_view text);
std::string Lower(std::string_view text);
/// @}
/// Whether the texts are equal, letter case ignored.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
/// Whether part occurs in text, as the runtime's InStr finds it: an empty text holds nothing,
/// not even the empty part.
bool ContainsIgnoreCase(std::string_view text, std::string_view part);
/// Whether text begins with prefix, letter case ignored; every text begins with the empty one.
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
/// Removes spaces at both ends (tabs stay, as the runtime's Trim leaves them).
std::string Trim(std::string_view text);
/// Removes spaces and tabs at both ends.
std::string TrimBlanks(std::string_view text);

} // namespace ldgr::text
