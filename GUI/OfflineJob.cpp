// The offline job record: numbering in the job folder and writing the record whole.
#include "GUI/OfflineJob.h"

#include "common/ErrorHandling.h"
#include "common/Text.h"
#include "platform/Error.h"
#include "platform/Platform.h"

#include <random>
#include <set>

namespace OfflineJob {
namespace {

constexpr std::int32_t kLastJobNumber = 32767;

std::set<std::string> TakenNames(const std::string& sUserPath) {
    std::set<std::string> names;
    for (const platform::FindEntry& entry :
         platform::Files().FindAll(sUserPath + "\\*", platform::FindDetail::Attributes)) {
        if (entry.IsOrdinaryFile()) {
            names.insert(ldgr::text::Lower(entry.name));
        }
    }
    return names;
}

std::int16_t FirstFreeNumber(const std::set<std::string>& taken,
                             const std::set<std::int32_t>& blocked = {}) {
    for (std::int32_t n = 1; n <= kLastJobNumber; ++n) {
        const std::string number = std::to_string(n);
        if (!taken.contains(number + ".prt") && !taken.contains(number + ".dat") &&
            !blocked.contains(n)) {
            return static_cast<std::int16_t>(n);
        }
    }
    throw ldgr::Error(ldgr::kOverflow);
}

// A name in the job folder that no job file and no other program's temporary file has.
std::string TemporaryName(const std::string& sUserPath) {
    static std::mt19937_64 random{std::random_device{}()};
    return sUserPath + "\\~job" + std::to_string(random()) + ".tmp";
}

std::string JobFileName(const std::string& sUserPath, std::int32_t job) {
    return sUserPath + "\\" + std::to_string(job) + ".prt";
}

// Inside a handler: whether the current error says the record's name exists already.
bool IsNameTaken() {
    try {
        throw;
    } catch (const ldgr::Error& error) {
        return error.Number() == ldgr::kFileAlreadyExists;
    } catch (...) {
        return false;
    }
}

void WriteWhole(const std::string& sPath, const std::string& sText) {
    // Shared, so that a neighbour's permission probe may read it while it is written.
    auto file = platform::Files().OpenText(sPath, platform::OpenMode::Output);
    file->Write(sText);
    file->Close();
}

} // namespace

std::string RecordText(std::int16_t nJob, const std::string& sMachineName,
                       const std::string& sUserName, const std::string& sDateText) {
    // Line 4 is the only number: the runtime writes it with a sign place and a trailing blank.
    const std::string lines[] = {"reserved",
                                 "reserved",
                                 std::string("\\\\").append(sMachineName),
                                 std::string(" ").append(std::to_string(nJob)).append(" "),
                                 "Offline Job",
                                 "unavailable",
                                 sUserName,
                                 "Offline Job",
                                 "Unknown",
                                 sDateText,
                                 "1000",
                                 "Pending",
                                 "Pending",
                                 "Pending",
                                 "Pending",
                                 "Pending",
                                 "Pending",
                                 "",
                                 "Pending",
                                 "Offline Job",
                                 "Pending",
                                 "Not Applicable"};
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::int16_t FirstFreeJobNumber(const std::string& sUserPath) {
    return FirstFreeNumber(TakenNames(sUserPath));
}

std::int16_t LogOfflineJob(const std::string& sUserPath, const std::string& sMachineName,
                           const std::string& sUserName, const std::string& sDateText) {
    // Without a job folder the record would land in the root of the current drive.
    if (sUserPath.empty()) {
        throw ldgr::Error(ldgr::kPathNotFound);
    }
    // Numbers whose name another program took meanwhile, or that a folder or hidden file
    // holds (neither counts as a job, but neither can be replaced by the record).
    std::set<std::int32_t> blocked;
    for (;;) {
        const std::int16_t job = FirstFreeNumber(TakenNames(sUserPath), blocked);
        const std::string temporary = TemporaryName(sUserPath);
        try {
            WriteWhole(temporary, RecordText(job, sMachineName, sUserName, sDateText));
            platform::Files().MoveFileNoReplace(temporary, JobFileName(sUserPath, job));
            return job;
        } catch (...) {
            BCommon::SkipFailingStep([&] { platform::Files().DeleteFile(temporary); });
            if (!IsNameTaken()) {
                throw;
            }
        }
        blocked.insert(job);
    }
}

} // namespace OfflineJob
