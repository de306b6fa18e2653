// The suite's own temporary files: made under names nobody can predict, swept when stale.
#include "common/Temporaries.h"

#include "common/ErrorHandling.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "platform/Platform.h"
#include "platform/TemporaryName.h"

#include <optional>

namespace BCommon {
namespace {

constexpr std::string_view kJobPrefix = "~job";
constexpr std::string_view kJobSuffix = ".tmp";
constexpr std::string_view kProbePrefix = "test-";
constexpr std::string_view kProbeSuffix = ".txt";
constexpr std::size_t kProbeDigits = 16;

// Random names taken by someone else this often in a row say something is wrong.
constexpr int kNameAttempts = 16;
// Ten minutes in file-time units of 100 ns.
constexpr std::uint64_t kStaleAge = 10ull * 60 * 10'000'000;

// Sixteen decimal digits, which are hexadecimal digits too. A name with few letters is found
// quickly in every letter case where a system matches names by reading the whole folder.
std::string ProbeDigits(std::uint64_t bits) {
    std::string digits = std::to_string(bits % 10'000'000'000'000'000ull);
    return std::string(kProbeDigits - digits.size(), '0') + digits;
}

std::string RandomName(TemporaryKind kind) {
    const std::uint64_t bits = platform::RandomBits();
    if (kind == TemporaryKind::JobRecord) {
        return std::string(kJobPrefix) + std::to_string(bits) + std::string(kJobSuffix);
    }
    return std::string(kProbePrefix) + ProbeDigits(bits) + std::string(kProbeSuffix);
}

// The part of a name between a prefix and a suffix (letter case ignored); nothing when the
// name lacks either or nothing lies between them.
std::optional<std::string_view> Between(std::string_view name, std::string_view prefix,
                                        std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size() ||
        !ldgr::text::StartsWithIgnoreCase(name, prefix) ||
        !ldgr::text::EqualsIgnoreCase(name.substr(name.size() - suffix.size()), suffix)) {
        return std::nullopt;
    }
    return name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
}

bool AllOf(std::string_view text, std::string_view characters) {
    return text.find_first_not_of(characters) == std::string_view::npos;
}

bool IsStale(std::uint64_t lastWriteTime, std::uint64_t now) {
    return lastWriteTime < now && now - lastWriteTime > kStaleAge;
}

} // namespace

CreatedTemporary CreateTemporary(const std::string& sFolder, TemporaryKind kind) {
    for (int attempt = 1;; ++attempt) {
        std::string sName = RandomName(kind);
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
    const auto digits = Between(sName, kProbePrefix, kProbeSuffix);
    return digits && digits->size() == kProbeDigits && AllOf(*digits, "0123456789abcdefABCDEF");
}

bool IsSuiteTemporaryName(std::string_view sName) {
    const auto digits = Between(sName, kJobPrefix, kJobSuffix);
    // Any name of the host's copy, but never a pattern: a name with wildcards would name others.
    const auto copy =
        Between(sName, platform::kTemporaryFilePrefix, platform::kTemporaryFileSuffix);
    return (digits && AllOf(*digits, "0123456789")) || IsProbeFileName(sName) ||
           (copy && copy->find_first_of("*?") == std::string_view::npos);
}

void RemoveStaleTemporaries(const std::string& sFolder,
                            const std::vector<platform::FindEntry>& listing) {
    const std::string folder = AddBackslash(sFolder);
    const std::uint64_t now = platform::Time().FileTimeNow();
    for (const platform::FindEntry& entry : listing) {
        if (entry.isFolder || !IsSuiteTemporaryName(entry.name)) {
            continue;
        }
        // Asked again: a listing need not carry times, and the file may be newer by now.
        SkipFailingStep([&] {
            const std::string path = folder + entry.name;
            const auto current = platform::Files().FindFirst(path);
            if (current && !current->isFolder && IsStale(current->lastWriteTime, now)) {
                platform::Files().DeleteFile(path);
            }
        });
    }
}

} // namespace BCommon
