// CPrinterGroups: reading both layouts of the group sections, writing layout 2.
#include "ledgerline/config/model/CPrinterGroups.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/model/ModelIo.h"

namespace {

constexpr const char* kGeneralSection = "GENERAL";
constexpr const char* kCountKey = "NumPrinterGroups";

std::string GroupSection(std::int32_t n) {
    return "PG" + std::to_string(n);
}

} // namespace

bool CPrinterGroups::ReadIniFile(std::int32_t lVersion, const std::string& sIniFile,
                                 std::int32_t hIniFile) {
    return BCommon::ReportingFailures("CPrinterGroups::ReadIniFile", false, [&] {
        return lVersion == kGroupSectionsVersion ? ReadGroupSections(lVersion, sIniFile, hIniFile)
                                                 : ReadSingleGroup(lVersion, sIniFile, hIniFile);
    });
}

bool CPrinterGroups::ReadGroupSections(std::int32_t lVersion, const std::string& sIniFile,
                                       std::int32_t hIniFile) {
    const std::optional<std::int32_t> count =
        model::ReadItemCount({kGeneralSection, sIniFile, hIniFile}, kCountKey);
    return count && AppendRead(*count, [&](CPrinterGroup& group, std::int32_t n) {
               return group.ReadIniFile(lVersion, sIniFile, hIniFile, GroupSection(n));
           });
}

// The older layout has no group sections: its categories lie under "GENERAL" in sections
// CATEGORY1.., and they form one group whose options are not in the file.
bool CPrinterGroups::ReadSingleGroup(std::int32_t lVersion, const std::string& sIniFile,
                                     std::int32_t hIniFile) {
    const std::shared_ptr<CPrinterGroup> group = NewCPrinterGroup();
    group->GroupName = kSingleGroupName;
    group->DisableLogging = false;
    group->LogSilent = false;
    group->PauseUntilAck = false;
    group->Redirect = CPrinterGroup::kNoRedirection;
    return group->Categories().ReadIniFile(lVersion, sIniFile, hIniFile, kGeneralSection, "");
}

bool CPrinterGroups::WriteIniFile(platform::TextFile& oFile) const {
    return BCommon::ReportingFailures("CPrinterGroups::WriteIniFile", false, [&] {
        return BConfigFile::WriteIniFileValue(oFile, kCountKey, std::to_string(Count())) &&
               WriteEach([&](const CPrinterGroup& group, std::int32_t n) {
                   return group.WriteIniFile(oFile, GroupSection(n));
               });
    });
}
