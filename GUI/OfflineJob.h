// The offline job record: the placeholder print job that ldgrmake writes.
#pragma once

#include <cstdint>
#include <string>

namespace OfflineJob {

// The 22 lines of the record, each ended by CR LF.
std::string RecordText(std::int16_t nJob, const std::string& sMachineName,
                       const std::string& sUserName, const std::string& sDateText);

// Writes the record under the first free number, complete or not at all, and returns the
// number. A number taken meanwhile by another program moves the record on to the next free
// one. Stale temporary files of the suite in the folder are removed on the way.
std::int16_t LogOfflineJob(const std::string& sUserPath, const std::string& sMachineName,
                           const std::string& sUserName, const std::string& sDateText);

} // namespace OfflineJob
