// The conventions every configuration reader follows: entry kinds, messages, Boolean and
// numeric entries.
#include "ledgerline/config/ReadingConventions.h"

#include "ledgerline/common/Environment.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Platform.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace BConfigFile {
namespace {

constexpr std::string_view kBooleanLetters = "TFYN10";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char FirstLetterUpper(const std::string& sValue) {
    return ldgr::ascii::Upper(sValue.empty() ? '\0' : sValue.front());
}

// Skips a run of digits; how many there were.
std::size_t SkipDigits(std::string_view& text) {
    std::size_t count = 0;
    while (count < text.size() && IsDigit(text[count])) {
        ++count;
    }
    text.remove_prefix(count);
    return count;
}

bool SkipSign(std::string_view& text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        text.remove_prefix(1);
        return true;
    }
    return false;
}

// Whether a numeric text that does not fit a double is too large, rather than too close to 0:
// the decimal power of its first significant digit, plus the exponent, decides.
bool IsTooLarge(std::string_view number) {
    SkipSign(number);
    const std::size_t exponentAt = number.find_first_of("eE");
    long long lExponent = 0;
    if (exponentAt != std::string_view::npos) {
        std::string_view exponent = number.substr(exponentAt + 1);
        const bool negative = exponent.starts_with('-');
        SkipSign(exponent);
        const auto [end, error] =
            std::from_chars(exponent.data(), exponent.data() + exponent.size(), lExponent);
        if (error == std::errc::result_out_of_range) {
            return !negative;
        }
        lExponent = negative ? -lExponent : lExponent;
        number = number.substr(0, exponentAt);
    }
    const std::size_t dot = std::min(number.find('.'), number.size());
    const std::size_t first = number.find_first_not_of("0.");
    if (first == std::string_view::npos) {
        return false;
    }
    const long long lPower = first < dot
                                 ? static_cast<long long>(dot - first)
                                 : static_cast<long long>(dot) - static_cast<long long>(first) + 1;
    // Compared, not added: the exponent may be the largest number there is.
    return lExponent > -lPower;
}

// The value of a text that passed IsNumeric.
double NumberOf(const std::string& sValue) {
    std::string_view number = ldgr::ascii::TrimBlanks(sValue);
    if (number.starts_with('+')) {
        number.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        const double limit = IsTooLarge(number) ? std::numeric_limits<double>::infinity() : 0.0;
        return number.starts_with('-') ? -limit : limit;
    }
    return value;
}

} // namespace

std::string ConfigMessageText(ConfigMessage message, const std::string& sSection,
                              const std::string& sKey, const std::string& sIniFile) {
    const std::string entry = "Entry [" + sSection + "]." + sKey;
    switch (message) {
    case ConfigMessage::MissingEntry:
        return entry + " not found in file:\r" + sIniFile;
    case ConfigMessage::BlankEntry:
        return entry + " is blank in file:\r" + sIniFile;
    case ConfigMessage::NotValid:
        return entry + " is not valid in configuration file:\r" + sIniFile;
    case ConfigMessage::NotNumeric:
        return entry + " is not numeric in configuration file:\r" + sIniFile;
    case ConfigMessage::OpenFailure:
        return "Unable to open configuration file:\r" + sIniFile;
    }
    return {};
}

void ShowConfigMessage(ConfigMessage message, const std::string& sSection, const std::string& sKey,
                       const std::string& sIniFile, std::int32_t lIconStyle) {
    platform::Ui().ShowMessageBox(BCommon::Env().m_sProductName,
                                  ConfigMessageText(message, sSection, sKey, sIniFile),
                                  platform::kOkOnly + lIconStyle);
}

void ShowOpenFailure(const std::string& sIniFile) {
    ShowConfigMessage(ConfigMessage::OpenFailure, {}, {}, sIniFile);
}

std::optional<std::string> ReadEntry(const EntrySource& source, const std::string& sKey,
                                     EntryKind kind) {
    const bool bAllowBlank =
        kind == EntryKind::RequiredBlankAllowed || kind == EntryKind::OptionalBlankAllowed;
    const bool bAllowMissing =
        kind == EntryKind::Optional || kind == EntryKind::OptionalBlankAllowed;
    std::string sValue =
        GetPPS(source.sSection, sKey, source.sIniFile, source.hIniFile, bAllowBlank, bAllowMissing);
    if (sValue == kNotFound) {
        return std::nullopt;
    }
    return sValue;
}

bool IsTrueText(const std::string& sValue) {
    const char first = FirstLetterUpper(sValue);
    return first == 'T' || first == 'Y' || first == '1';
}

std::optional<bool> ReadStrictBoolean(const EntrySource& source, const std::string& sKey,
                                      const std::string& sValue, std::int32_t lIconStyle) {
    const char first = FirstLetterUpper(sValue);
    if (first == '\0' || kBooleanLetters.find(first) == std::string_view::npos) {
        ShowConfigMessage(ConfigMessage::NotValid, source.sSection, sKey, source.sIniFile,
                          lIconStyle);
        return std::nullopt;
    }
    return IsTrueText(sValue);
}

bool IsNumeric(const std::string& sValue) {
    std::string_view text = ldgr::ascii::TrimBlanks(sValue);
    SkipSign(text);
    std::size_t digits = SkipDigits(text);
    if (text.starts_with('.')) {
        text.remove_prefix(1);
        digits += SkipDigits(text);
    }
    if (digits == 0) {
        return false;
    }
    if (text.starts_with('e') || text.starts_with('E')) {
        text.remove_prefix(1);
        SkipSign(text);
        if (SkipDigits(text) == 0) {
            return false;
        }
    }
    return text.empty();
}

std::int32_t RoundHalfEven(double value) {
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(value)) {
        return 0;
    }
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return static_cast<std::int32_t>(std::clamp(whole, lowest, highest));
}

std::optional<std::int32_t> ReadNumber(const EntrySource& source, const std::string& sKey,
                                       const std::string& sValue, double lowest, double highest,
                                       std::int32_t lIconStyle) {
    if (!IsNumeric(sValue)) {
        ShowConfigMessage(ConfigMessage::NotNumeric, source.sSection, sKey, source.sIniFile,
                          lIconStyle);
        return std::nullopt;
    }
    const double value = NumberOf(sValue);
    if (value < lowest || value > highest) {
        ShowConfigMessage(ConfigMessage::NotValid, source.sSection, sKey, source.sIniFile,
                          lIconStyle);
        return std::nullopt;
    }
    return RoundHalfEven(value);
}

} // namespace BConfigFile
