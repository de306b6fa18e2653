/// @file
/// Identity and local-profile helpers: computer name, shell folders, the local product folder.
#pragma once

#include <cstdint>
#include <string>

namespace BCommon {

/// The text up to its first NUL character.
std::string TrimNull(const std::string& sText);
/// This computer's name, or empty text.
std::string GetMachineName();
/// The path of a shell special folder (CSIDL number), or empty text.
std::string GetSpecialFolder(std::int32_t lFolder);
/// The local per-user product folder "LdgrApp", created when missing; no trailing backslash.
std::string GetLocalPath();

} // namespace BCommon
