// Module BConfigFile: finding the configuration file, reading one entry, writing INI lines.
#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <string>

namespace BConfigFile {

// The default of every configuration read; getting it back means the entry is missing.
inline constexpr const char* kNotFound = "!2@3#4$5%6^7&8*9(0)[-]";

// Chooses the configuration file a reader opens: the working copy, the recorded location
// (asked unless bSilent), the local per-user folder (always asked). False leaves
// m_sconfigfile in sFile.
bool FindConfigFile(std::string& sFile, bool bSilent);

// Reads one entry through the INI library: the trimmed value, or kNotFound. A missing entry
// (unless bAllowMissing) and a blank one (unless bAllowBlank) are told to the user.
std::string GetPPS(const std::string& sSection, const std::string& sKey,
                   const std::string& sIniFile, std::int32_t hIniFile, bool bAllowBlank,
                   bool bAllowMissing);

// "[section]", or an empty line for an empty name. False (reported) when the write fails.
bool WriteIniFileSection(platform::TextFile& oFile, const std::string& sSection);
// The key padded to 24 characters, " = ", the value as given. False (reported) on failure.
bool WriteIniFileValue(platform::TextFile& oFile, const std::string& sKey,
                       const std::string& sValue);

} // namespace BConfigFile
