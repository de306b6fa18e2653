/// @file
/// The debug log, the one error report of the system, and the service-log probe.
#pragma once

#include "ledgerline/platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>

namespace BCommon {

/// Appends "<base name>: <message>" CR LF to the program's debug log while m_bDebugLog is True.
void WriteDebugLog(const std::string& message);

/// Opens a file to be written whole, all or nothing (platform::OpenMode::Replace). Where its
/// folder lets no file be made or replaced beside it, the file is rewritten in place, and the
/// debug log says so.
std::unique_ptr<platform::TextFile> OpenRewrite(const std::string& sPath);

/// Shows the current error (call it from inside a catch block) in the warning box, naming the
/// procedure and the support telephone number.
void ReportError(const std::string& procedureName);

/// "Unexpected error <n> in procedure '<name>':" CR description.
std::string GetErrorText(std::int32_t number, const std::string& description,
                         const std::string& procedureName);

/// Whether another process holds the service's log file; also stored in m_bServiceLogLocked.
bool IsServiceLogLocked();

} // namespace BCommon
