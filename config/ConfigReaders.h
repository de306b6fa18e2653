/// @file
/// The configuration readers of module BCommon that start-up uses.
#pragma once

#include <cstdint>
#include <string>

namespace BCommon {

/// The configuration file's path recorded in the registry, or an empty text.
std::string GetConfigFile();
/// The file's [GENERAL] Version, or 0 when it has none that can be used.
std::int32_t GetConfigFileVersion(const std::string& sIniFile);
/// One option (section "GENERAL" when sSection is empty); empty text when missing.
std::string GetGeneralOption(const std::string& sIniFile, const std::string& sKey,
                             const std::string& sSection = {});
/// [GENERAL] DataFile of the configuration file FindConfigFile chooses, or an empty text.
std::string GetDataPath();

} // namespace BCommon
