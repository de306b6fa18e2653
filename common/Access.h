/// @file
/// The folder permission probe: what the user may really do in a folder or with a file.
#pragma once

#include <string>

namespace BCommon {

/// "write", "list", "read", "delete", each present when its test succeeded, in that order.
std::string GetFolderAccess(const std::string& sPath);
/// "write", "list", "read" for one existing file.
std::string GetFileAccess(const std::string& sPath);

} // namespace BCommon
