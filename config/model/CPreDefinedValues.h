/// @file
/// CPreDefinedValues: a category's predefined values, read from and written to its section.
#pragma once

#include "ledgerline/config/model/CPreDefinedValue.h"
#include "ledgerline/config/model/KeyedCollection.h"

/// A category's predefined values, at positions from 1, each with an optional key.
class CPreDefinedValues final : public KeyedCollection<CPreDefinedValues, CPreDefinedValue> {
public:
    CPreDefinedValues() = default;

    /// The factory operation: a new value in its initial state, added as Add adds it.
    std::shared_ptr<CPreDefinedValue>
    NewCPreDefinedValue(const std::optional<std::string>& sKey = std::nullopt,
                        const std::optional<PositionOrKey>& vBefore = std::nullopt,
                        const std::optional<PositionOrKey>& vAfter = std::nullopt) {
        return AddNew(sKey, vBefore, vAfter);
    }

    /// Appends the values that "NumPreDefinedValues" and "PreDefinedValue1".. of sSection give.
    bool ReadIniFile(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile,
                     const std::string& sSection);
    /// Writes "NumPreDefinedValues" and one "PreDefinedValue<k>" entry per value.
    bool WriteIniFile(platform::TextFile& oFile) const;

private:
    friend KeyedCollection;
    static constexpr const char* kClassName = "CPreDefinedValues";
    static constexpr const char* kFactoryName = "NewCPreDefinedValue";
    static constexpr bool kMissingItemIsNull = false;
};
