// A plain reader of the INI reading rules (see KorvaneIni/IniIndex.h), line by line, with no
// index and no speed tricks: what the fuzz target holds the library's answers against.
#pragma once

#include "ledgerline/platform/AsciiText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ldgr::fuzz {

inline std::string TrimmedName(std::string_view text) {
    return std::string(ascii::TrimBlanks(text));
}

// The file's lines without their ends: CR LF, CR or LF.
inline std::vector<std::string_view> LinesOf(std::string_view file) {
    std::vector<std::string_view> lines;
    while (!file.empty()) {
        const std::size_t end = file.find_first_of("\r\n");
        lines.push_back(file.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        file.remove_prefix(file.substr(end, 2) == "\r\n" ? end + 2 : end + 1);
    }
    return lines;
}

// The value of the key in the section, or nothing.
inline std::optional<std::string> PlainLookup(std::string_view file, std::string_view section,
                                              std::string_view key) {
    if (file.starts_with("\xEF\xBB\xBF")) {
        file.remove_prefix(3);
    }
    const std::string wantedSection = TrimmedName(section);
    const std::string wantedKey = TrimmedName(key);
    std::vector<std::string> seen{""};
    bool inWanted = wantedSection.empty();
    for (const std::string_view line : LinesOf(file)) {
        const std::string text = TrimmedName(line);
        if (text.starts_with('[') && text.find(']') != std::string::npos) {
            const std::string name = TrimmedName(text.substr(1, text.find(']') - 1));
            bool repeated = false;
            for (const std::string& earlier : seen) {
                repeated = repeated || ascii::EqualsIgnoreCase(earlier, name);
            }
            seen.push_back(name);
            inWanted = !repeated && ascii::EqualsIgnoreCase(name, wantedSection);
        } else if (inWanted && !text.starts_with(';') && text.find('=') != std::string::npos &&
                   ascii::EqualsIgnoreCase(TrimmedName(text.substr(0, text.find('='))),
                                           wantedKey)) {
            return TrimmedName(text.substr(text.find('=') + 1));
        }
    }
    return std::nullopt;
}

} // namespace ldgr::fuzz
