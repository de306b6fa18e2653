// The configuration readers of module BCommon that start-up uses.
#include "ledgerline/config/ConfigReaders.h"

#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/BRegistry.h"
#include "ledgerline/config/ReadingConventions.h"
#include "ledgerline/platform/AsciiText.h"

#include <limits>

namespace BCommon {
namespace {

using BConfigFile::kNotFound;

// The registry key of this release: the product's key and the major version of the program.
constexpr const char* kProgramKey = "SOFTWARE\\Korvane Group\\Ledgerline\\4";
constexpr const char* kGeneral = "GENERAL";

} // namespace

std::string GetConfigFile() {
    return ReportingFailures("GetConfigFile", std::string(), [&] {
        const std::string sValue = BRegistry::GetMachineKeyValue(kProgramKey, "ConfigFile");
        return ldgr::ascii::Upper(sValue) == "(UNKNOWN)" ? std::string() : sValue;
    });
}

std::int32_t GetConfigFileVersion(const std::string& sIniFile) {
    return ReportingFailures("GetConfigFileVersion", std::int32_t{0}, [&]() -> std::int32_t {
        const std::optional<std::string> sValue =
            BConfigFile::GetPPSOnce(kGeneral, "Version", sIniFile, false, false);
        if (!sValue || *sValue == kNotFound) {
            return 0;
        }
        const BConfigFile::EntrySource source{kGeneral, sIniFile, 0};
        return BConfigFile::ReadNumber(source, "Version", *sValue,
                                       std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max())
            .value_or(0);
    });
}

std::string GetGeneralOption(const std::string& sIniFile, const std::string& sKey,
                             const std::string& sSection) {
    return ReportingFailures("GetGeneralOption", std::string(), [&] {
        std::optional<std::string> sValue = BConfigFile::GetPPSOnce(
            sSection.empty() ? kGeneral : sSection, sKey, sIniFile, true, true);
        return !sValue || *sValue == kNotFound ? std::string() : std::move(*sValue);
    });
}

std::string GetDataPath() {
    return ReportingFailures("GetDataPath", std::string(), [&] {
        std::string sFile;
        if (!BConfigFile::FindConfigFile(sFile, true)) {
            return std::string();
        }
        std::optional<std::string> sValue =
            BConfigFile::GetPPSOnce(kGeneral, "DataFile", sFile, false, false);
        return !sValue || *sValue == kNotFound ? std::string() : std::move(*sValue);
    });
}

} // namespace BCommon
