// Unicode text in the system code page (Windows-1252), and that code page's letter case.
#include "ledgerline/platform/posix/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace platform::posix {
namespace {

// The characters of the bytes 0x80 to 0x9F. The five bytes the code page leaves undefined stand
// for the control characters of the same number, as Windows converts them.
constexpr std::array<char32_t, 32> kHighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char CodePageByte(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<char>(character);
    }
    for (std::size_t i = 0; i < kHighCharacters.size(); ++i) {
        if (kHighCharacters[i] == character) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char32_t UnitAt(std::string_view bytes, std::size_t index) {
    const auto low = static_cast<unsigned char>(bytes[2 * index]);
    const auto high = static_cast<unsigned char>(bytes[2 * index + 1]);
    return static_cast<char32_t>(low | (high << 8));
}

// A UTF-8 sequence: its length in bytes (0 when invalid) and its value.
struct Sequence {
    std::size_t length;
    char32_t value;
};

// The length of the sequence a lead byte starts and the bits it contributes.
Sequence LeadOf(unsigned char byte) {
    if (byte < 0x80) {
        return {1, byte};
    }
    if (byte >= 0xC2 && byte <= 0xDF) {
        return {2, static_cast<char32_t>(byte & 0x1F)};
    }
    if (byte >= 0xE0 && byte <= 0xEF) {
        return {3, static_cast<char32_t>(byte & 0x0F)};
    }
    if (byte >= 0xF0 && byte <= 0xF4) {
        return {4, static_cast<char32_t>(byte & 0x07)};
    }
    return {0, 0};
}

// Decodes the sequence at text[position]; returns the character and its length, or length 0
// when the bytes there are not a valid, shortest-form sequence.
Sequence DecodeUtf8(std::string_view text, std::size_t position) {
    const Sequence lead = LeadOf(static_cast<unsigned char>(text[position]));
    if (lead.length == 0 || position + lead.length > text.size()) {
        return {0, 0};
    }
    char32_t character = lead.value;
    for (std::size_t i = 1; i < lead.length; ++i) {
        const auto byte = static_cast<unsigned char>(text[position + i]);
        if ((byte & 0xC0) != 0x80) {
            return {0, 0};
        }
        character = (character << 6) | (byte & 0x3F);
    }
    constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = character >= kSmallest[lead.length] && character <= 0x10FFFF &&
                       !(character >= 0xD800 && character <= 0xDFFF);
    return valid ? Sequence{lead.length, character} : Sequence{0, 0};
}

// UTF-8 text in the code page; a byte that starts no valid sequence becomes invalidByte, or
// stays as it is when there is none.
std::string FromUtf8(std::string_view text, std::optional<char> invalidByte) {
    // Names are ASCII nearly always, and ASCII is the same in both: one copy does it.
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    std::size_t position = 0;
    while (position < text.size()) {
        const Sequence decoded = DecodeUtf8(text, position);
        if (decoded.length == 0) {
            result += invalidByte.value_or(text[position]);
            ++position;
        } else {
            result += CodePageByte(decoded.value);
            position += decoded.length;
        }
    }
    return result;
}

// One character (U+0000 to U+FFFF, which covers the code page) in UTF-8.
void AppendUtf8(std::string& out, char32_t character) {
    if (character < 0x80) {
        out += static_cast<char>(character);
    } else if (character < 0x800) {
        out += static_cast<char>(0xC0 | (character >> 6));
        out += static_cast<char>(0x80 | (character & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (character >> 12));
        out += static_cast<char>(0x80 | ((character >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (character & 0x3F));
    }
}

} // namespace

std::string Utf16LeToCodePage(std::string_view bytes) {
    const std::size_t units = bytes.size() / 2;
    std::string text;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = UnitAt(bytes, i);
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(UnitAt(bytes, i + 1))) {
            ++i; // a pair is one character, and none of the code page's
            text += '?';
        } else {
            text += CodePageByte(unit);
        }
    }
    return text;
}

std::string Utf8ToCodePage(std::string_view text) {
    return FromUtf8(text, '?');
}

std::string HostToCodePage(std::string_view text) {
    return FromUtf8(text, std::nullopt);
}

std::string CodePageToHost(std::string_view text) {
    std::string host;
    host.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const char32_t character = byte >= 0x80 && byte < 0xA0 ? kHighCharacters[byte - 0x80]
                                                               : static_cast<char32_t>(byte);
        AppendUtf8(host, character);
    }
    return host;
}

char UpperCodePage(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 'a' && byte <= 'z') {
        return static_cast<char>(byte - 0x20);
    }
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) {
        return static_cast<char>(byte - 0x20);
    }
    switch (byte) {
    case 0x9A: // š
    case 0x9C: // œ
    case 0x9E: // ž
        return static_cast<char>(byte - 0x10);
    case 0xFF: // ÿ
        return static_cast<char>(0x9F);
    default:
        return c;
    }
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return UpperCodePage(x) == UpperCodePage(y);
           });
}

} // namespace platform::posix
