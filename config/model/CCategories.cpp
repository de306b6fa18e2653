// CCategories: reading and writing a group's category sections.
#include "ledgerline/config/model/CCategories.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/model/ModelIo.h"

namespace {

constexpr const char* kCountKey = "NumCategories";

std::string CategorySection(const std::string& sSectionPrefix, std::int32_t m) {
    return sSectionPrefix + "CATEGORY" + std::to_string(m);
}

} // namespace

bool CCategories::ReadIniFile(std::int32_t lVersion, const std::string& sIniFile,
                              std::int32_t hIniFile, const std::string& sSectionNumCat,
                              const std::string& sSectionPrefix) {
    return BCommon::ReportingFailures("CCategories::ReadIniFile", false, [&] {
        const std::optional<std::int32_t> count =
            model::ReadItemCount({sSectionNumCat, sIniFile, hIniFile}, kCountKey);
        return count && AppendRead(*count, [&](CCategory& category, std::int32_t m) {
                   return category.ReadIniFile(lVersion, sIniFile, hIniFile,
                                               CategorySection(sSectionPrefix, m));
               });
    });
}

bool CCategories::WriteIniFile(platform::TextFile& oFile, const std::string& sSectionPrefix) const {
    return BCommon::ReportingFailures("CCategories::WriteIniFile", false, [&] {
        return BConfigFile::WriteIniFileValue(oFile, kCountKey, std::to_string(Count())) &&
               WriteEach([&](const CCategory& category, std::int32_t m) {
                   return category.WriteIniFile(oFile, CategorySection(sSectionPrefix, m));
               });
    });
}
