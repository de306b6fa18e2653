/// @file
/// What the configuration model's readers and writers share: entries read with the system's
/// conventions.
#pragma once

#include "ledgerline/config/ReadingConventions.h"

#include <cstdint>
#include <optional>
#include <string>

/// What the configuration model's classes share: the keyed collection's failures and the
/// entry readers.
namespace model {

/// The highest count of groups, categories or predefined values a file may declare.
inline constexpr double kMaxItemCount = 32767;

/// Stores a value a reader got into member; False (member unchanged) when it got none.
template <class T> bool Store(T& member, const std::optional<T>& value) {
    if (value) {
        member = *value;
    }
    return value.has_value();
}

/// A Boolean as the writers put it: "True" or "False".
std::string BooleanText(bool bValue);

/// A required text entry stored in member as GetPPS returns it: the sentinel text when the
/// entry is absent, which ends the read (False).
bool ReadRequiredText(const BConfigFile::EntrySource& source, const std::string& sKey,
                      std::string& member);
/// A required numeric entry within [lowest, highest]; nothing after a message.
std::optional<std::int32_t> ReadNumberEntry(const BConfigFile::EntrySource& source,
                                            const std::string& sKey, double lowest, double highest,
                                            std::int32_t lIconStyle = 48);
/// A count entry ("NumCategories"): required, numeric, 0 to 32767, warning icon.
std::optional<std::int32_t> ReadItemCount(const BConfigFile::EntrySource& source,
                                          const std::string& sKey);
/// A required strict Boolean; nothing after a message (the not-valid one with lIconStyle).
std::optional<bool> ReadStrictBooleanEntry(const BConfigFile::EntrySource& source,
                                           const std::string& sKey, std::int32_t lIconStyle = 48);
/// A loosely read Boolean of the given kind; nothing when the entry is absent.
std::optional<bool> ReadLooseBooleanEntry(const BConfigFile::EntrySource& source,
                                          const std::string& sKey, BConfigFile::EntryKind kind);

} // namespace model
