// The offline job record: numbering in the job folder and writing the record whole.
#include "GUI/OfflineJob.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/common/Temporaries.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Platform.h"

#include <bitset>
#include <functional>
#include <string_view>

namespace OfflineJob {
namespace {

constexpr std::int32_t kLastJobNumber = 32767;
// Races lost in a row, each on the next free number of one listing, after which the folder is
// listed again: many workstations write into one job folder, and a listing that lost this
// often is no longer the truth. The numbers lost stay taken: a name the move refuses may be one
// no listing shows (a link whose target is gone), and forgetting it would try it for ever.
constexpr int kLossesBeforeListingAgain = 3;

// The number a job file's name gives: decimal digits without sign or leading zero, then ".prt"
// (or ".dat" where allowed), letter case ignored; 0 for any other name.
std::int32_t JobNumberOf(std::string_view name, bool datCounts) {
    const std::size_t dot = name.find('.');
    const std::string_view digits = name.substr(0, dot);
    if (dot == std::string_view::npos || digits.empty() || digits.size() > 5 ||
        digits.front() == '0' || digits.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    const std::string_view kind = name.substr(dot);
    if (!ldgr::ascii::EqualsIgnoreCase(kind, ".prt") &&
        !(datCounts && ldgr::ascii::EqualsIgnoreCase(kind, ".dat"))) {
        return 0;
    }
    std::int32_t number = 0;
    for (const char digit : digits) {
        number = number * 10 + (digit - '0');
    }
    return number <= kLastJobNumber ? number : 0;
}

// The job numbers of one listing of the job folder that the record cannot take: those of an
// ordinary file N.prt or N.dat, and those whose N.prt is a folder or hidden file (neither is a
// job, but neither can be replaced by the record).
class TakenNumbers {
public:
    void TakeListed(const platform::FindEntry& entry) {
        m_taken.set(static_cast<std::size_t>(JobNumberOf(entry.name, entry.IsOrdinaryFile())));
    }

    void Take(std::int32_t job) { m_taken.set(static_cast<std::size_t>(job)); }

    void TakeAll(const TakenNumbers& others) { m_taken |= others.m_taken; }

    // The lowest free number; past 32767, error 6 (overflow).
    std::int16_t FirstFree() const {
        for (std::int32_t n = 1; n <= kLastJobNumber; ++n) {
            if (!m_taken.test(static_cast<std::size_t>(n))) {
                return static_cast<std::int16_t>(n);
            }
        }
        throw ldgr::Error(ldgr::kOverflow);
    }

private:
    std::bitset<kLastJobNumber + 1> m_taken; // bit 0 stands for every name that is no job
};

// Whether the number's job files exist by now: a listing of a large folder is older than the
// moves other programs made while it was read, and a name is asked for much faster than a
// folder of thousands is listed again.
bool IsTakenNow(const std::string& sFolder, std::int32_t job) {
    const std::string sNumber = sFolder + std::to_string(job);
    const auto record = platform::Files().FindFirst(sNumber + ".prt");
    const auto data = platform::Files().FindFirst(sNumber + ".dat");
    return record || (data && data->IsOrdinaryFile());
}

// The lowest number free in the listing and in the folder as it is now.
std::int16_t FirstFreeNow(const std::string& sFolder, TakenNumbers& taken) {
    for (;;) {
        const std::int16_t job = taken.FirstFree();
        if (!IsTakenNow(sFolder, job)) {
            return job;
        }
        taken.Take(job);
    }
}

// One listing of the job folder, walked once: the numbers it takes, and a sample of the suite's
// temporaries in it. Nothing is kept per entry, so a folder of thousands of jobs costs one read
// of it.
struct JobFolderListing {
    TakenNumbers taken;
    BCommon::TemporarySample temporaries;
};

JobFolderListing ListJobFolder(const std::string& sFolder) {
    JobFolderListing listing;
    platform::Files().VisitUnordered(sFolder + "*", platform::FindDetail::Attributes,
                                     [&](const platform::FindEntry& entry) {
                                         listing.taken.TakeListed(entry);
                                         listing.temporaries.Offer(entry);
                                         return true;
                                     });
    return listing;
}

// Inside a handler: whether the current error says the record's name exists already.
bool IsNameTaken() {
    return ldgr::CurrentError().Number() == ldgr::kFileAlreadyExists;
}

// The number one attempt took, or lost to another program.
struct Attempt {
    std::int16_t job = 0;
    bool written = false;
};

// Writes the record under a temporary name and moves it to the lowest number free by now. The
// number is chosen first, so a full folder ends in an overflow whether or not it can be written.
// When the name was taken meanwhile, nothing is left behind and the number is marked taken.
Attempt TryWriteRecord(const std::string& sFolder, TakenNumbers& taken,
                       const std::function<std::string(std::int16_t)>& recordText) {
    const std::int16_t job = FirstFreeNow(sFolder, taken);
    BCommon::CreatedTemporary temporary =
        BCommon::CreateTemporary(sFolder, BCommon::TemporaryKind::JobRecord);
    const std::string sTemporary = sFolder + temporary.sName;
    try {
        temporary.pFile->Write(recordText(job));
        temporary.pFile->Close();
        platform::Files().MoveFileNoReplace(sTemporary, sFolder + std::to_string(job) + ".prt");
        return {.job = job, .written = true};
    } catch (...) {
        // On the way out with the error that stopped the write, which stays the one raised.
        BCommon::IgnoreFailures([&] {
            temporary.pFile.reset();
            platform::Files().DeleteFile(sTemporary);
        });
        if (!IsNameTaken()) {
            throw;
        }
    }
    taken.Take(job);
    return {.job = job};
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

std::int16_t LogOfflineJob(const std::string& sUserPath, const std::string& sMachineName,
                           const std::string& sUserName, const std::string& sDateText) {
    // Without a job folder the record would land in the root of the current drive.
    if (sUserPath.empty()) {
        throw ldgr::Error(ldgr::kPathNotFound);
    }
    const std::string sFolder = sUserPath + "\\";
    JobFolderListing listing = ListJobFolder(sFolder);
    BCommon::RemoveStaleTemporaries(sFolder, listing.temporaries);
    TakenNumbers& taken = listing.taken;
    TakenNumbers lost;
    const auto recordText = [&](std::int16_t job) {
        return RecordText(job, sMachineName, sUserName, sDateText);
    };
    // Each loss takes a number no earlier attempt tried, so the search ends: with a record, or
    // with an overflow once every number was lost or taken.
    for (int losses = 1;; ++losses) {
        const auto attempt = TryWriteRecord(sFolder, taken, recordText);
        if (attempt.written) {
            return attempt.job;
        }
        lost.Take(attempt.job);
        if (losses % kLossesBeforeListingAgain == 0) {
            taken = ListJobFolder(sFolder).taken;
            taken.TakeAll(lost);
        }
    }
}

} // namespace OfflineJob
