/// @file
/// Module BConfigFile: finding the configuration file, reading one entry, writing INI lines.
#pragma once

#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/platform/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>

/// Module BConfigFile: the configuration file, its entries and the conventions of reading
/// and writing them.
namespace BConfigFile {

/// The default of every configuration read; getting it back means the entry is missing.
inline constexpr const char* kNotFound = "!2@3#4$5%6^7&8*9(0)[-]";
/// The longest value an entry can give back: the read goes through a 2,048-byte buffer that
/// ends with its terminating zero.
inline constexpr std::size_t kLongestValue = 2047;

/// An INI handle closed on every way out of the procedure that opened it; 0 when the file
/// could not be opened.
class OpenIniFile {
public:
    /// Opens the file (KorvaneIni::OpenIni).
    explicit OpenIniFile(const std::string& sIniFile)
        : m_hIniFile(KorvaneIni::OpenIni(sIniFile.c_str())) {}
    ~OpenIniFile() { Close(); }
    OpenIniFile(const OpenIniFile&) = delete;
    OpenIniFile& operator=(const OpenIniFile&) = delete;

    /// The handle; 0 when the file could not be opened or is closed.
    std::int32_t Handle() const { return m_hIniFile; }
    /// Closes the handle now, once; the destructor then has nothing left to close.
    void Close() {
        if (m_hIniFile != 0) {
            KorvaneIni::CloseIni(m_hIniFile);
            m_hIniFile = 0;
        }
    }

private:
    std::int32_t m_hIniFile;
};

/// Chooses the configuration file a reader opens: the working copy, the recorded location
/// (asked unless bSilent), the local per-user folder (always asked). False leaves
/// m_sconfigfile in sFile.
bool FindConfigFile(std::string& sFile, bool bSilent);

/// Reads one entry through the INI library: the trimmed value, or kNotFound. A missing entry
/// (unless bAllowMissing) and a blank one (unless bAllowBlank) are told to the user.
std::string GetPPS(const std::string& sSection, const std::string& sKey,
                   const std::string& sIniFile, std::int32_t hIniFile, bool bAllowBlank,
                   bool bAllowMissing);
/// GetPPS on the file opened for this read alone, in one call of the INI library; nothing when
/// the file cannot be opened, after the open-failure message.
std::optional<std::string> GetPPSOnce(const std::string& sSection, const std::string& sKey,
                                      const std::string& sIniFile, bool bAllowBlank,
                                      bool bAllowMissing);

/// "[section]", or an empty line for an empty name. False (reported) when the write fails.
bool WriteIniFileSection(platform::TextFile& oFile, const std::string& sSection);
/// The key padded to 24 characters, " = ", the value as given, however long (a workstation
/// reads at most kLongestValue characters of it back). False (reported) on failure.
bool WriteIniFileValue(platform::TextFile& oFile, const std::string& sKey,
                       const std::string& sValue);

} // namespace BConfigFile
