/// @file
/// The INI-reading library: open a configuration file, read entries by section and key, close.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

/// The INI-reading library's interface.
namespace KorvaneIni {

/// A handle for the file, or 0 when it cannot be opened. A file is parsed once per version:
/// opening it again while its size, last-write time, change time and identity are unchanged
/// reuses the parsed form, as long as it is among the few files lately opened.
std::int32_t OpenIni(const char* sPath);
/// Copies the value of the key in the section (or sDefault when either is absent) into
/// sBuffer, cut to lSize - 1 characters and terminated; returns the count of characters
/// copied, without the terminator. Names are matched ignoring letter case and blanks around
/// them. Nothing is written beyond lSize; a stale or 0 handle reads as an empty file.
std::int32_t GetIniString(const char* sSection, const char* sKey, const char* sDefault,
                          char* sBuffer, std::int32_t lSize, std::int32_t hIniFile);
/// Releases the handle; the result has no meaning.
std::int32_t CloseIni(std::int32_t hIniFile);

/// OpenIni, GetIniString and CloseIni in one call, for a caller that reads one entry of a file
/// at a time: GetIniString's count, or nothing when the file cannot be opened. No handle is
/// made for it.
std::optional<std::int32_t> ReadIniString(const char* sPath, const char* sSection, const char* sKey,
                                          const char* sDefault, char* sBuffer, std::int32_t lSize);

/// Whether the file at sPath holds, byte for byte, what the handle's file held when it was parsed;
/// false for a stale or 0 handle. Start-up compares its working copy with the shared file so:
/// the copy is read once, for the comparison and the reads that follow. Errors of the read are
/// raised as the file service raises them.
bool HoldsParsedBytes(std::int32_t hIniFile, const std::string& sPath);

/// Drops the parsed files kept for later opens, so the next open of each reads it afresh.
/// Open handles keep what they read.
void ForgetParsedFiles();

} // namespace KorvaneIni
