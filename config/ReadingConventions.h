/// @file
/// The conventions every configuration reader follows: entry kinds, messages, Boolean and
/// numeric entries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace BConfigFile {

/// The messages a configuration reader shows.
enum class ConfigMessage {
    MissingEntry, ///< "... not found in file:"
    BlankEntry,   ///< "... is blank in file:"
    NotValid,     ///< "... is not valid in configuration file:"
    NotNumeric,   ///< "... is not numeric in configuration file:"
    OpenFailure   ///< "Unable to open configuration file:"
};

/// The message text ("Entry [GENERAL].Version not found in file:" CR file).
std::string ConfigMessageText(ConfigMessage message, const std::string& sSection,
                              const std::string& sKey, const std::string& sIniFile);
/// Shows a configuration message: OK button, titled m_sProductName, with the given icon style
/// (48 warning unless a reader names 16 critical).
void ShowConfigMessage(ConfigMessage message, const std::string& sSection, const std::string& sKey,
                       const std::string& sIniFile, std::int32_t lIconStyle = 48);
/// "Unable to open configuration file:" CR file.
void ShowOpenFailure(const std::string& sIniFile);

/// The four kinds of entry, by what GetPPS may let through without a message.
enum class EntryKind { Required, RequiredBlankAllowed, Optional, OptionalBlankAllowed };

/// Where a reader reads from: the section, the file's path (for messages) and the open handle.
struct EntrySource {
    std::string sSection;      ///< the section entries are read from
    std::string sIniFile;      ///< the file's path, which messages name
    std::int32_t hIniFile = 0; ///< the handle OpenIni gave for it
};

/// GetPPS with the flags of the kind; nothing when the entry is absent (the sentinel came back).
std::optional<std::string> ReadEntry(const EntrySource& source, const std::string& sKey,
                                     EntryKind kind);

/// Loose Boolean: first character, upper-cased, is T, Y or 1.
bool IsTrueText(const std::string& sValue);
/// Strict Boolean: the first character must be one of TFYN10 (letter case ignored); otherwise
/// the not-valid message is shown (with lIconStyle) and nothing is returned.
std::optional<bool> ReadStrictBoolean(const EntrySource& source, const std::string& sKey,
                                      const std::string& sValue, std::int32_t lIconStyle = 48);

/// A decimal number with optional sign, fraction and exponent, blanks around it ignored.
bool IsNumeric(const std::string& sValue);
/// Rounds to the nearest whole number, a half to the even neighbour.
std::int32_t RoundHalfEven(double value);
/// Numeric entry: not numeric -> not-numeric message; outside [lowest, highest] -> not-valid
/// message; nothing returned in both cases. Otherwise the value rounded half to even.
std::optional<std::int32_t> ReadNumber(const EntrySource& source, const std::string& sKey,
                                       const std::string& sValue, double lowest, double highest,
                                       std::int32_t lIconStyle = 48);

} // namespace BConfigFile
