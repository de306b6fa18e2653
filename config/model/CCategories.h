/// @file
/// CCategories: a printer group's categories, read from and written to their sections.
#pragma once

#include "ledgerline/config/model/CCategory.h"
#include "ledgerline/config/model/KeyedCollection.h"

/// A printer group's categories, at positions from 1, each with an optional key.
class CCategories final : public KeyedCollection<CCategories, CCategory> {
public:
    CCategories() = default;

    /// The factory operation: a new category in its initial state, added as Add adds it.
    std::shared_ptr<CCategory>
    NewCCategory(const std::optional<std::string>& sKey = std::nullopt,
                 const std::optional<PositionOrKey>& vBefore = std::nullopt,
                 const std::optional<PositionOrKey>& vAfter = std::nullopt) {
        return AddNew(sKey, vBefore, vAfter);
    }

    /// Appends the categories counted by "NumCategories" of sSectionNumCat, each from the
    /// section sSectionPrefix "CATEGORY" m.
    bool ReadIniFile(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile,
                     const std::string& sSectionNumCat, const std::string& sSectionPrefix);
    /// Writes "NumCategories" into the section being written, then one section per category.
    bool WriteIniFile(platform::TextFile& oFile, const std::string& sSectionPrefix) const;

private:
    friend KeyedCollection;
    static constexpr const char* kClassName = "CCategories";
    static constexpr const char* kFactoryName = "NewCCategory";
    /// Item answers a position or key that does not exist with a null reference.
    static constexpr bool kMissingItemIsNull = true;
};
