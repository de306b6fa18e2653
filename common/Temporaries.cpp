// The suite's own temporary files: made under names nobody can predict, swept when stale.
#include "ledgerline/common/Temporaries.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/common/Paths.h"
#include "ledgerline/platform/Platform.h"
#include "ledgerline/platform/TemporaryName.h"

#include <optional>

namespace BCommon {
namespace {

// The random part is decimal digits: a name with few letters is found quickly in every letter
// case where a system matches names by reading the whole folder.
constexpr platform::TemporaryNameShape kJobShape{"~job", "0123456789", ".tmp"};
constexpr platform::TemporaryNameShape kProbeShape{"test-", "0123456789", ".txt"};

// Random names taken by someone else this often in a row say something is wrong.
constexpr int kNameAttempts = 16;
// Ten minutes in file-time units of 100 ns.
constexpr std::uint64_t kStaleAge = 10ull * 60 * 10'000'000;
// The work of one sweep of one folder: deletions, and the time queries that find them.
constexpr std::size_t kMostRemovals = 64;
constexpr std::size_t kMostTimeQueries = 2 * kMostRemovals;

// Stale either way: a clock set back since, or a stamp from a clock that ran ahead, would
// otherwise keep a leftover for ever.
bool IsStale(std::uint64_t lastWriteTime, std::uint64_t folderNow) {
    const std::uint64_t apart =
        lastWriteTime < folderNow ? folderNow - lastWriteTime : lastWriteTime - folderNow;
    return apart > kStaleAge;
}

// The folder's own clock: the last-write time of a file made there just now. The system that
// keeps the folder stamps it, as it stamped every temporary there (a file server by its own
// clock, whatever this computer's says). The file is shaped as a probe's test file, which
// probes of other programs pass over. Nothing when no file can be made there.
std::optional<std::uint64_t> FolderClock(const std::string& sFolder) {
    std::optional<std::uint64_t> now;
    SkipFailingStep([&] {
        CreatedTemporary clock = CreateTemporary(sFolder, TemporaryKind::AccessProbe);
        const std::string path = sFolder + clock.sName;
        SkipFailingStep([&] {
            if (const auto version = platform::Files().VersionOf(path)) {
                now = version->lastWriteTime;
            }
        });
        clock.pFile.reset();
        platform::Files().DeleteFile(path);
    });
    return now;
}

} // namespace

CreatedTemporary CreateTemporary(const std::string& sFolder, TemporaryKind kind) {
    const platform::TemporaryNameShape& shape =
        kind == TemporaryKind::JobRecord ? kJobShape : kProbeShape;
    for (int attempt = 1;; ++attempt) {
        std::string sName = platform::TemporaryName(shape, platform::RandomBits());
        try {
            return {sName,
                    platform::Files().OpenText(sFolder + sName, platform::OpenMode::CreateNew)};
        } catch (const ldgr::Error& error) {
            if (error.Number() != ldgr::kFileAlreadyExists || attempt == kNameAttempts) {
                throw;
            }
        }
    }
}

bool IsProbeFileName(std::string_view sName) {
    return platform::HasTemporaryShape(sName, kProbeShape);
}

bool IsSuiteTemporaryName(std::string_view sName) {
    return platform::HasTemporaryShape(sName, kJobShape) ||
           platform::HasTemporaryShape(sName, kProbeShape) ||
           platform::HasTemporaryShape(sName, platform::kCopyShape);
}

TemporarySample::TemporarySample() : m_random(platform::RandomBits()) {
    m_names.reserve(kMostTimeQueries);
}

void TemporarySample::Offer(const platform::FindEntry& entry) {
    if (entry.isFolder || !IsSuiteTemporaryName(entry.name)) {
        return;
    }
    ++m_offered;
    if (m_names.size() < kMostTimeQueries) {
        m_names.push_back(entry.name);
    } else if (const std::uint64_t slot = m_random() % m_offered; slot < kMostTimeQueries) {
        m_names[slot] = entry.name;
    }
}

void RemoveStaleTemporaries(const std::string& sFolder, const TemporarySample& sample) {
    if (sample.Names().empty()) {
        return;
    }
    const std::string folder = AddBackslash(sFolder);
    const std::optional<std::uint64_t> now = FolderClock(folder);
    if (!now) {
        return;
    }
    std::size_t removed = 0;
    for (const std::string& name : sample.Names()) {
        if (removed == kMostRemovals) {
            return;
        }
        // Asked again: a listing need not carry times, and the file may be newer by now.
        SkipFailingStep([&] {
            const auto version = platform::Files().VersionOf(folder + name);
            if (version && IsStale(version->lastWriteTime, *now)) {
                platform::Files().DeleteFile(folder + name);
                ++removed;
            }
        });
    }
}

void RemoveStaleTemporaries(const std::string& sFolder) {
    TemporarySample sample;
    platform::Files().VisitUnordered(AddBackslash(sFolder) + "*", platform::FindDetail::Attributes,
                                     [&](const platform::FindEntry& entry) {
                                         sample.Offer(entry);
                                         return true;
                                     });
    RemoveStaleTemporaries(sFolder, sample);
}

} // namespace BCommon
