/// @file
/// CCategory: an item of information a printer group asks for, with its predefined values.
#pragma once

#include "ledgerline/config/model/CPreDefinedValues.h"

#include <cstdint>
#include <memory>
#include <string>

/// An item of information a printer group asks for: its name, when it must be shown, how a
/// value may be entered, and the values offered for it.
class CCategory final {
public:
    CCategory() = default;
    CCategory(const CCategory&) = delete;
    CCategory& operator=(const CCategory&) = delete;

    std::string CategoryName; ///< the category's name (entry "CategoryName")
    /// When the category must be shown: 0 never, 1 when the user's value is not valid, 2 always.
    std::int32_t DisplayCategory = 0;
    bool AckDefaultValues = false;     ///< the user acknowledges default values
    bool AllowBlankValues = false;     ///< a blank value is accepted
    bool OnlyPreDefinedValues = false; ///< only the predefined values are accepted
    bool MaskUserInput = false;        ///< the user's input is masked
    std::string Pattern;               ///< the pattern entered values follow; "Any" by default
    /// The predefined values; the collection can be replaced by another, never removed.
    CPreDefinedValues& PreDefinedValues() const { return *m_oPreDefinedValues; }
    /// Replaces the predefined values by another collection, then shared with whoever else holds
    /// it; a null one raises error 91.
    void SetPreDefinedValues(std::shared_ptr<CPreDefinedValues> pPreDefinedValues) {
        m_oPreDefinedValues.Replace(std::move(pPreDefinedValues), "CCategory::PreDefinedValues");
    }
    /// Position of the default in PreDefinedValues, 1 to its Count; 0 for none.
    std::int32_t DefaultValue = 0;

    /// Whether the category must be shown, given whether the user's value is valid.
    bool DisplayRequired(bool bUserValueValid) const;
    /// Makes this category a deep copy of the other (own predefined-value objects).
    void Equals(const CCategory& clsCategory);
    /// Reads the category and its predefined values from the section sSection of the file open
    /// on hIniFile. False after a message; what was read before the failure stays.
    bool ReadIniFile(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile,
                     const std::string& sSection);
    /// Writes an empty line, the section sSection, its entries and its predefined values. False
    /// at the first line that failed.
    bool WriteIniFile(platform::TextFile& oFile, const std::string& sSection) const;

    /// Same content, predefined values compared by value.
    friend bool operator==(const CCategory& a, const CCategory& b);

private:
    OwnedCollection<CPreDefinedValues> m_oPreDefinedValues;
};
