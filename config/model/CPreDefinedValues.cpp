// CPreDefinedValues: reading and writing a category's predefined-value entries.
#include "ledgerline/config/model/CPreDefinedValues.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/model/ModelIo.h"

namespace {

constexpr const char* kCountKey = "NumPreDefinedValues";

std::string ValueKey(std::int32_t k) {
    return "PreDefinedValue" + std::to_string(k);
}

} // namespace

bool CPreDefinedValues::ReadIniFile(std::int32_t lVersion, const std::string& sIniFile,
                                    std::int32_t hIniFile, const std::string& sSection) {
    return BCommon::ReportingFailures("CPreDefinedValues::ReadIniFile", false, [&] {
        const std::optional<std::int32_t> count =
            model::ReadItemCount({sSection, sIniFile, hIniFile}, kCountKey);
        return count && AppendRead(*count, [&](CPreDefinedValue& value, std::int32_t k) {
                   return value.ReadIniFile(lVersion, sIniFile, hIniFile, sSection, ValueKey(k));
               });
    });
}

bool CPreDefinedValues::WriteIniFile(platform::TextFile& oFile) const {
    return BCommon::ReportingFailures("CPreDefinedValues::WriteIniFile", false, [&] {
        return BConfigFile::WriteIniFileValue(oFile, kCountKey, std::to_string(Count())) &&
               WriteEach([&](const CPreDefinedValue& value, std::int32_t k) {
                   return value.WriteIniFile(oFile, ValueKey(k));
               });
    });
}
