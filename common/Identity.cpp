// Identity and local-profile helpers: computer name, shell folders, the local product folder.
#include "ledgerline/common/Identity.h"

#include "ledgerline/common/Environment.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/common/Paths.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Platform.h"

namespace BCommon {
namespace {

constexpr std::size_t kComputerNameBuffer = 16; // 15 characters and the terminator
constexpr std::size_t kPathBuffer = 260;
constexpr const char* kProductFolder = "LdgrApp";

// Windows 98 (version 4.10) has no per-user profile query; the suite kept its files in the
// system folder there.
bool IsWindows98(const std::string& sOSVersion) {
    return sOSVersion.substr(0, 3) == "4.1";
}

std::string ProfileFolder() {
    if (IsWindows98(Env().m_sOSVersion)) {
        return Env().m_sSystemPath;
    }
    // A failed profile query leaves the buffer unfilled, which the "C:" rule below covers.
    return platform::Sys().UserProfileFolder(kPathBuffer).value_or("");
}

} // namespace

std::string TrimNull(const std::string& sText) {
    return sText.substr(0, sText.find('\0'));
}

std::string GetMachineName() {
    return platform::Sys().ComputerName(kComputerNameBuffer).value_or("");
}

std::string GetSpecialFolder(std::int32_t lFolder) {
    return TrimNull(platform::Sys().SpecialFolder(lFolder).value_or(""));
}

std::string GetLocalPath() {
    return ReportingFailures("GetLocalPath", std::string(), [&] {
        const std::string sAppPath = AddBackslash(platform::Ui().AppPath());
        std::string sProfile(ldgr::ascii::Trim(TrimNull(ProfileFolder())));
        if (sProfile.empty()) {
            sProfile = "C:";
        }
        std::string sLocal = sProfile + "\\" + kProductFolder;
        // Installations in the maker's own program folder keep their per-user files there.
        if (ldgr::ascii::ContainsIgnoreCase(sAppPath, "orvelk")) {
            sLocal = sAppPath + kProductFolder;
        }
        CreateFolderIfMissing(sLocal);
        return sLocal;
    });
}

} // namespace BCommon
