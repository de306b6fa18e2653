// The suite's own temporary files: made under names nobody can predict, swept when stale.
#include "common/Temporaries.h"

#include "common/ErrorHandling.h"
#include "common/Paths.h"
#include "platform/Platform.h"
#include "platform/TemporaryName.h"

#include <optional>

namespace BCommon {
namespace {

// What a temporary's name is made of: a prefix, a random part of 16 decimal digits, a suffix.
// A name with few letters is found quickly in every letter case where a system matches names
// by reading the whole folder.
struct NameShape {
    std::string_view prefix;
    std::string_view suffix;
};
constexpr NameShape kJobShape{"~job", ".tmp"};
constexpr NameShape kProbeShape{"test-", ".txt"};
constexpr std::size_t kRandomDigits = 16;
constexpr std::uint64_t kRandomRange = 10'000'000'000'000'000ull; // 10^16

// Random names taken by someone else this often in a row say something is wrong.
constexpr int kNameAttempts = 16;
// Ten minutes in file-time units of 100 ns.
constexpr std::uint64_t kStaleAge = 10ull * 60 * 10'000'000;
// The work of one sweep of one folder: deletions, and the time queries that find them.
constexpr std::size_t kMostRemovals = 64;
constexpr std::size_t kMostTimeQueries = 2 * kMostRemovals;

std::string RandomName(const NameShape& shape) {
    const std::string digits = std::to_string(platform::RandomBits() % kRandomRange);
    return std::string(shape.prefix) + std::string(kRandomDigits - digits.size(), '0') + digits +
           std::string(shape.suffix);
}

bool HasShape(std::string_view name, const NameShape& shape) {
    return name.size() == shape.prefix.size() + kRandomDigits + shape.suffix.size() &&
           name.starts_with(shape.prefix) && name.ends_with(shape.suffix) &&
           name.substr(shape.prefix.size(), kRandomDigits).find_first_not_of("0123456789") ==
               std::string_view::npos;
}

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
    const NameShape& shape = kind == TemporaryKind::JobRecord ? kJobShape : kProbeShape;
    for (int attempt = 1;; ++attempt) {
        std::string sName = RandomName(shape);
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
    return HasShape(sName, kProbeShape);
}

bool IsSuiteTemporaryName(std::string_view sName) {
    return HasShape(sName, kJobShape) || HasShape(sName, kProbeShape) ||
           platform::IsTemporaryFileName(sName);
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
