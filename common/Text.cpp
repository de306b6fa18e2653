// Text operations with the runtime's rules.
#include "ledgerline/common/Text.h"

#include "ledgerline/platform/AsciiText.h"

#include <algorithm>

namespace ldgr::text {
namespace {

bool SameIgnoringCase(char a, char b) {
    return ascii::Upper(a) == ascii::Upper(b);
}

} // namespace

std::string Upper(std::string_view text) {
    return ascii::Upper(std::string(text));
}

std::string Lower(std::string_view text) {
    return ascii::Lower(std::string(text));
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return ascii::EqualsIgnoreCase(a, b);
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), SameIgnoringCase) !=
           text.end();
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string Trim(std::string_view text) {
    return ascii::Trim(text, " ");
}

std::string TrimBlanks(std::string_view text) {
    return ascii::Trim(text, " \t");
}

} // namespace ldgr::text
