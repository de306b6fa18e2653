// CPrinterGroup: reading and writing one printer-group section.
#include "ledgerline/config/model/CPrinterGroup.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/model/ModelIo.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Desktop.h"

namespace {

using BConfigFile::EntryKind;

// Older files wrote a Boolean where the address goes; it means no redirection.
std::string RedirectOf(const std::optional<std::string>& value) {
    if (!value || ldgr::ascii::EqualsIgnoreCase(*value, "TRUE") ||
        ldgr::ascii::EqualsIgnoreCase(*value, "FALSE")) {
        return CPrinterGroup::kNoRedirection;
    }
    return *value;
}

} // namespace

void CPrinterGroup::Equals(const CPrinterGroup& clsPrinterGroup) {
    GroupName = clsPrinterGroup.GroupName;
    DisableLogging = clsPrinterGroup.DisableLogging;
    LogSilent = clsPrinterGroup.LogSilent;
    PauseUntilAck = clsPrinterGroup.PauseUntilAck;
    Redirect = clsPrinterGroup.Redirect;
    Categories().Equals(clsPrinterGroup.Categories());
}

bool CPrinterGroup::ReadIniFile(std::int32_t lVersion, const std::string& sIniFile,
                                std::int32_t hIniFile, const std::string& sSection) {
    return BCommon::ReportingFailures("CPrinterGroup::ReadIniFile", false, [&] {
        const BConfigFile::EntrySource source{sSection, sIniFile, hIniFile};
        if (!model::ReadRequiredText(source, "PrinterGroupName", GroupName)) {
            return false;
        }
        Redirect = RedirectOf(BConfigFile::ReadEntry(source, "Redirect", EntryKind::Optional));
        LogSilent =
            model::ReadLooseBooleanEntry(source, "LogSilent", EntryKind::Optional).value_or(false);
        PauseUntilAck = model::ReadLooseBooleanEntry(source, "PauseUntilAck", EntryKind::Optional)
                            .value_or(false);
        return model::Store(DisableLogging, model::ReadStrictBooleanEntry(source, "DisableLogging",
                                                                          platform::kCritical)) &&
               Categories().ReadIniFile(lVersion, sIniFile, hIniFile, sSection, sSection);
    });
}

bool CPrinterGroup::WriteIniFile(platform::TextFile& oFile, const std::string& sSection) const {
    using BConfigFile::WriteIniFileValue;
    return BCommon::ReportingFailures("CPrinterGroup::WriteIniFile", false, [&] {
        return BConfigFile::WriteIniFileSection(oFile, "") &&
               BConfigFile::WriteIniFileSection(oFile, sSection) &&
               WriteIniFileValue(oFile, "PrinterGroupName", GroupName) &&
               WriteIniFileValue(oFile, "DisableLogging", model::BooleanText(DisableLogging)) &&
               WriteIniFileValue(oFile, "LogSilent", model::BooleanText(LogSilent)) &&
               WriteIniFileValue(oFile, "PauseUntilAck", model::BooleanText(PauseUntilAck)) &&
               WriteIniFileValue(oFile, "Redirect", Redirect) &&
               Categories().WriteIniFile(oFile, sSection);
    });
}

bool operator==(const CPrinterGroup& a, const CPrinterGroup& b) {
    return a.GroupName == b.GroupName && a.DisableLogging == b.DisableLogging &&
           a.LogSilent == b.LogSilent && a.PauseUntilAck == b.PauseUntilAck &&
           a.Redirect == b.Redirect && a.Categories() == b.Categories();
}
