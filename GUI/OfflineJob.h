// The offline job record: the placeholder print job that ldgrmake writes.
#pragma once

#include <cstdint>
#include <string>

namespace OfflineJob {

// The 22 lines of the record, each ended by CR LF.
std::string RecordText(std::int16_t nJob, const std::string& sMachineName,
                       const std::string& sUserName, const std::string& sDateText);

// The lowest job number that neither N.prt nor N.dat (ordinary files, letter case ignored)
// takes in the folder, from one listing of it. Past 32767: error 6 (overflow).
std::int16_t FirstFreeJobNumber(const std::string& sUserPath);

// Writes the record under the first free number, complete or not at all, and returns the
// number. A number taken meanwhile by another program moves the record on to the next one.
std::int16_t LogOfflineJob(const std::string& sUserPath, const std::string& sMachineName,
                           const std::string& sUserName, const std::string& sDateText);

} // namespace OfflineJob
