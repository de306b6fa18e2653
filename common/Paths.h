/// @file
/// Path and drive helpers: drive letters, network paths and this computer's shares.
#pragma once

#include <cstdint>
#include <string>

namespace BCommon {

/// The path with one backslash appended unless it ends with one; empty stays empty.
std::string AddBackslash(const std::string& sPath);
/// The path without its trailing backslash, and without a second one if there is still one.
std::string RemoveTrailingBackslashes(const std::string& sPath);
/// Text up to and including its last backslash; empty when it has none.
std::string FolderOf(const std::string& sPath);
/// Text of a path inside a folder: the folder followed by the rest, or empty when the folder is
/// empty, so that a missing folder never turns into the current folder.
std::string PathInFolder(const std::string& sFolder, const std::string& sRest);
/// Makes a folder unless it exists. A folder that another program made meanwhile counts as
/// made; any other failure is raised.
void CreateFolderIfMissing(const std::string& sPath);
/// The remote name of the connection of a drive ("x:"), or "Drive Letter Not Found".
std::string GetNetworkPath(const std::string& sDrive);
/// A network path through the first mapped drive letter that reaches it, or unchanged.
std::string GetMappedDrivePath(const std::string& sPath);
/// The network form of a path, the local form for this computer's own shares, or unchanged.
std::string GetAbsolutePath(const std::string& sPath);
/// The local path of a share of the named server followed by the rest, or empty text.
std::string GetSharePath(const std::string& sPath);
/// The sum of the two 32-bit halves of the first match's last-write time, or 0.
std::int32_t GetFileStamp(const std::string& sPath);
/// The count of names matching the pattern ("." , ".." and " " excluded).
std::int16_t CountFolderEntries(const std::string& sPattern);

} // namespace BCommon
