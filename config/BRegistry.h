/// @file
/// Module BRegistry: the two registry readers.
#pragma once

#include "ledgerline/platform/Registry.h"

#include <string>

/// Module BRegistry: the registry readers.
namespace BRegistry {

/// Reads a REG_SZ or REG_DWORD value, opening the key with full access; True when the key was
/// opened and the value read (sResult then holds it, except for other types).
bool GetKeyValue(platform::RootKey hRootKey, const std::string& sSubKey,
                 const std::string& sValueName, std::string& sResult);

/// A value under HKEY_LOCAL_MACHINE read with read access, or "(unknown)".
std::string GetMachineKeyValue(const std::string& sSubKey, const std::string& sValueName);

} // namespace BRegistry
