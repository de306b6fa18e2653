// CCategory: an item of information a printer group asks for, with its predefined values.
#pragma once

#include "ledgerline/config/model/CPreDefinedValues.h"

#include <cstdint>
#include <memory>
#include <string>

class CCategory final {
public:
    CCategory() = default;
    CCategory(const CCategory&) = delete;
    CCategory& operator=(const CCategory&) = delete;

    std::string CategoryName;
    // When the category must be shown: 0 never, 1 when the user's value is not valid, 2 always.
    std::int32_t DisplayCategory = 0;
    bool AckDefaultValues = false;
    bool AllowBlankValues = false;
    bool OnlyPreDefinedValues = false;
    bool MaskUserInput = false;
    std::string Pattern;
    // The predefined values; the collection can be replaced by another, never removed.
    CPreDefinedValues& PreDefinedValues() const { return *m_oPreDefinedValues; }
    void SetPreDefinedValues(std::shared_ptr<CPreDefinedValues> pPreDefinedValues) {
        m_oPreDefinedValues.Replace(std::move(pPreDefinedValues), "CCategory::PreDefinedValues");
    }
    // Position of the default in PreDefinedValues, 1 to its Count; 0 for none.
    std::int32_t DefaultValue = 0;

    // Whether the category must be shown, given whether the user's value is valid.
    bool DisplayRequired(bool bUserValueValid) const;
    // Makes this category a deep copy of the other (own predefined-value objects).
    void Equals(const CCategory& clsCategory);
    bool ReadIniFile(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile,
                     const std::string& sSection);
    bool WriteIniFile(platform::TextFile& oFile, const std::string& sSection) const;

    friend bool operator==(const CCategory& a, const CCategory& b);

private:
    OwnedCollection<CPreDefinedValues> m_oPreDefinedValues;
};
