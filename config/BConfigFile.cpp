// Module BConfigFile: finding the configuration file, reading one entry, writing INI lines.
#include "ledgerline/config/BConfigFile.h"

#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/config/ReadingConventions.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Platform.h"

#include <algorithm>
#include <array>
#include <vector>

namespace BConfigFile {
namespace {

constexpr std::int32_t kIniBufferSize = kLongestValue + 1;
constexpr std::size_t kKeyWidth = 24;
constexpr const char* kDefaultFileName = "Config.ini";

// A file-existence probe; a probe that fails (a name that is no valid file name) finds nothing.
bool FileExists(const std::string& sPath) {
    bool bExists = false;
    BCommon::SkipFailingStep([&] {
        const auto entry = platform::Files().FindFirst(sPath);
        bExists = entry && !entry->isFolder;
    });
    return bExists;
}

std::string InFolder(const std::string& sFolder, const std::string& sName) {
    return sFolder.ends_with('\\') ? sFolder + sName : sFolder + "\\" + sName;
}

// Asks whether to use a configuration file found outside its standard place; No is the default.
bool UserAcceptsFile(const std::string& sFile) {
    const std::string prompt = "Found configuration parameters file:\r" + sFile +
                               "\r\rThis is not a standard location for this file.\r"
                               "Do you want to continue anyway using this file?";
    return platform::Ui().ShowMessageBox(BCommon::Env().m_sProductName, prompt,
                                         platform::kYesNo + platform::kExclamation +
                                             platform::kDefaultButton2) == platform::kAnswerYes;
}

std::string ValueLine(const std::string& sKey, const std::string& sValue) {
    std::string sPadded = sKey;
    if (sPadded.size() < kKeyWidth) {
        sPadded.resize(kKeyWidth, ' ');
    }
    return sPadded + " = " + sValue;
}

using IniBuffer = std::array<char, kIniBufferSize>;

// One entry read by GetPPS, and whether a blank or a missing entry is accepted.
struct EntryRead {
    const std::string& sSection;
    const std::string& sKey;
    const std::string& sIniFile;
    bool bAllowBlank;
    bool bAllowMissing;
};

// What the INI library gave (the count in the buffer), trimmed, and as GetPPS answers it: a
// missing entry (unless allowed) and a blank one (unless allowed) are told to the user and
// answered with the sentinel.
std::string JudgedValue(const EntryRead& read, const IniBuffer& buffer, std::int32_t lCount) {
    const std::size_t lKept = static_cast<std::size_t>(std::clamp(lCount, 0, kIniBufferSize));
    std::string sValue(ldgr::ascii::Trim(std::string_view(buffer.data(), lKept)));
    if (sValue == kNotFound && !read.bAllowMissing) {
        ShowConfigMessage(ConfigMessage::MissingEntry, read.sSection, read.sKey, read.sIniFile);
        return std::string(kNotFound);
    }
    if (!sValue.empty() || read.bAllowBlank) {
        return sValue;
    }
    ShowConfigMessage(ConfigMessage::BlankEntry, read.sSection, read.sKey, read.sIniFile);
    return std::string(kNotFound);
}

// The sentinel as a text, made once: the fallback of every read.
const std::string& NotFoundText() {
    static const std::string text = kNotFound;
    return text;
}

} // namespace

bool FindConfigFile(std::string& sFile, bool bSilent) {
    const BCommon::EnvironmentRecord& env = BCommon::Env();
    return BCommon::ReportingFailures("FindConfigFile", false, [&] {
        if (!env.m_sconfigfile.empty() && FileExists(env.m_sconfigfile)) {
            sFile = env.m_sconfigfile;
            return true;
        }
        sFile = InFolder(env.m_sSharedConfigFile, kDefaultFileName);
        if (FileExists(sFile) && (bSilent || UserAcceptsFile(sFile))) {
            return true;
        }
        sFile = InFolder(env.m_sLocalUserPath, kDefaultFileName);
        if (FileExists(sFile) && UserAcceptsFile(sFile)) {
            return true;
        }
        sFile = env.m_sconfigfile;
        return false;
    });
}

std::string GetPPS(const std::string& sSection, const std::string& sKey,
                   const std::string& sIniFile, std::int32_t hIniFile, bool bAllowBlank,
                   bool bAllowMissing) {
    const EntryRead read{sSection, sKey, sIniFile, bAllowBlank, bAllowMissing};
    return BCommon::ReportingFailures("GetPPS", NotFoundText(), [&] {
        IniBuffer buffer; // filled by the read up to what it returns
        const std::int32_t lCount = KorvaneIni::GetIniString(
            sSection.c_str(), sKey.c_str(), kNotFound, buffer.data(), kIniBufferSize, hIniFile);
        return JudgedValue(read, buffer, lCount);
    });
}

std::optional<std::string> GetPPSOnce(const std::string& sSection, const std::string& sKey,
                                      const std::string& sIniFile, bool bAllowBlank,
                                      bool bAllowMissing) {
    IniBuffer buffer; // filled by the read up to what it returns
    const std::optional<std::int32_t> lCount = KorvaneIni::ReadIniString(
        sIniFile.c_str(), sSection.c_str(), sKey.c_str(), kNotFound, buffer.data(), kIniBufferSize);
    if (!lCount) {
        ShowOpenFailure(sIniFile);
        return std::nullopt;
    }
    const EntryRead read{sSection, sKey, sIniFile, bAllowBlank, bAllowMissing};
    return BCommon::ReportingFailures("GetPPS", NotFoundText(),
                                      [&] { return JudgedValue(read, buffer, *lCount); });
}

bool WriteIniFileSection(platform::TextFile& oFile, const std::string& sSection) {
    return BCommon::ReportingFailures("WriteIniFileSection", false, [&] {
        oFile.Write((sSection.empty() ? std::string() : "[" + sSection + "]") + "\r\n");
        return true;
    });
}

bool WriteIniFileValue(platform::TextFile& oFile, const std::string& sKey,
                       const std::string& sValue) {
    return BCommon::ReportingFailures("WriteIniFileValue", false, [&] {
        oFile.Write(ValueLine(sKey, sValue) + "\r\n");
        return true;
    });
}

} // namespace BConfigFile
