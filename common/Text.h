// Text operations with the runtime's rules: single-byte texts, letter case ignored where asked.
#pragma once

#include <string>
#include <string_view>

namespace ldgr::text {

std::string Upper(std::string_view text);
std::string Lower(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Whether part occurs in text, as the runtime's InStr finds it: an empty text holds nothing,
// not even the empty part.
bool ContainsIgnoreCase(std::string_view text, std::string_view part);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
// Removes spaces at both ends (tabs stay, as the runtime's Trim leaves them).
std::string Trim(std::string_view text);
// Removes spaces and tabs at both ends.
std::string TrimBlanks(std::string_view text);

} // namespace ldgr::text
