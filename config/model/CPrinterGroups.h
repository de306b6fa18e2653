/// @file
/// CPrinterGroups: the configuration's printer groups, read from either file layout and
/// written in layout 2.
#pragma once

#include "ledgerline/config/model/CPrinterGroup.h"
#include "ledgerline/config/model/KeyedCollection.h"

/// The printer groups of a configuration, at positions from 1, each with an optional key.
class CPrinterGroups final : public KeyedCollection<CPrinterGroups, CPrinterGroup> {
public:
    /// The file version whose layout has group sections; every other version has one group's
    /// categories directly under "GENERAL".
    static constexpr std::int32_t kGroupSectionsVersion = 2;
    /// The name of the group a single-group file is read into.
    static constexpr const char* kSingleGroupName = "Default";

    CPrinterGroups() = default;

    /// The factory operation: a new group in its initial state, added as Add adds it.
    std::shared_ptr<CPrinterGroup>
    NewCPrinterGroup(const std::optional<std::string>& sKey = std::nullopt,
                     const std::optional<PositionOrKey>& vBefore = std::nullopt,
                     const std::optional<PositionOrKey>& vAfter = std::nullopt) {
        return AddNew(sKey, vBefore, vAfter);
    }

    /// Appends the groups of the file open on hIniFile, laid out as lVersion says.
    bool ReadIniFile(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile);
    /// Writes "NumPrinterGroups" into "GENERAL", then sections PG1, PG2.. with their categories.
    bool WriteIniFile(platform::TextFile& oFile) const;

private:
    friend KeyedCollection;
    static constexpr const char* kClassName = "CPrinterGroups";
    static constexpr const char* kFactoryName = "NewCPrinterGroup";
    static constexpr bool kMissingItemIsNull = false;

    bool ReadGroupSections(std::int32_t lVersion, const std::string& sIniFile,
                           std::int32_t hIniFile);
    bool ReadSingleGroup(std::int32_t lVersion, const std::string& sIniFile, std::int32_t hIniFile);
};
