/// @file
/// CPreDefinedValue: one value offered for a category, a constant text or a computed-value code.
#pragma once

#include "ledgerline/platform/FileSystem.h"

#include <cstdint>
#include <string>

/// One value offered for a category: a constant text, or the code of a value the suite
/// computes.
class CPreDefinedValue final {
public:
    bool Computed = false; ///< a computed value, not a constant text
    /// The code of a computed value; 0 for a constant.
    std::int32_t ComputedType = 0;
    std::string ConstantText; ///< the constant's text; empty for a computed value

    /// The constant's text, or the computed value's name ("(unknown)" for a code outside the
    /// table).
    std::string Description() const;
    /// Makes this value a copy of the other.
    void Equals(const CPreDefinedValue& clsPreDefinedValue);
    /// A computed value the suite works out from other values ("Total Pages").
    bool IsCalculatedValue() const;
    /// A computed value the suite takes from the job or the system ("User Name").
    bool IsSystemValue() const;

    /// Reads the entry sKey of sSection: "0," and a text for a constant, else a code. False
    /// after a message. lVersion keeps the readers' signatures alike; it changes nothing here.
    bool ReadIniFile(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile,
                     const std::string& sSection, const std::string& sKey);
    /// Writes the entry sKey: the code, or "0, " and the text.
    bool WriteIniFile(platform::TextFile& oFile, const std::string& sKey) const;

    /// Same kind, code and text.
    bool operator==(const CPreDefinedValue&) const = default;
};
