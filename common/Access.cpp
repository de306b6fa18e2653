// The folder permission probe: what the user may really do in a folder or with a file.
//
// The folder probe writes its test line into a file of its own instead of "test.txt": a
// name made of "test-", 16 random hexadecimal digits and ".txt", chosen so that it does not
// exist yet. A user's own "test.txt" is never replaced or removed, and programs probing the
// same folder at the same moment (one user starting several programs, or several
// workstations) never delete each other's test file. The words are those of a probe with
// "test.txt".
#include "common/Access.h"

#include "common/DateAndFiles.h"
#include "common/ErrorHandling.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "platform/Platform.h"

#include <random>

namespace BCommon {
namespace {

constexpr std::string_view kProbePrefix = "test-";
constexpr std::string_view kProbeSuffix = ".txt";
constexpr std::size_t kProbeDigits = 16;

constexpr int kProbeNameAttempts = 16;

std::string RandomProbeName() {
    std::random_device source;
    std::uint64_t bits = (std::uint64_t{source()} << 32) | source();
    constexpr char kHex[] = "0123456789abcdef";
    std::string name(kProbePrefix);
    for (std::size_t i = 0; i < kProbeDigits; ++i, bits >>= 4) {
        name += kHex[bits & 0xF];
    }
    return name + std::string(kProbeSuffix);
}

// A probe name that no entry of the folder has; empty in the unlikely case that every
// attempt is taken.
std::string FreeProbeName(const std::string& sFolder) {
    for (int attempt = 0; attempt < kProbeNameAttempts; ++attempt) {
        std::string name = RandomProbeName();
        if (FindFile(sFolder + name).empty()) {
            return name;
        }
    }
    return {};
}

bool IsProbeName(std::string_view name) {
    if (name.size() != kProbePrefix.size() + kProbeDigits + kProbeSuffix.size() ||
        !ldgr::text::StartsWithIgnoreCase(name, kProbePrefix) ||
        !ldgr::text::EqualsIgnoreCase(name.substr(name.size() - kProbeSuffix.size()),
                                      kProbeSuffix)) {
        return false;
    }
    const std::string_view digits = name.substr(kProbePrefix.size(), kProbeDigits);
    return digits.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// The folder a probe path names: a path with a dot and a backslash counts as a file name
// inside its folder (so ...\my.data\sub probes ...\my.data\).
std::string ProbedFolder(const std::string& sPath) {
    std::string sFolder = sPath;
    if (sFolder.find('.') != std::string::npos) {
        if (const std::size_t last = sFolder.find_last_of('\\'); last != std::string::npos) {
            sFolder.erase(last + 1);
        }
    }
    return AddBackslash(sFolder);
}

bool CanOpen(const std::string& sPath, platform::OpenMode mode) {
    return SkipFailingStep([&] { platform::Files().OpenText(sPath, mode)->Close(); });
}

bool WriteTest(const std::string& sFile) {
    std::unique_ptr<platform::TextFile> file;
    if (!SkipFailingStep(
            [&] { file = platform::Files().OpenText(sFile, platform::OpenMode::Output); })) {
        return false;
    }
    // Only the open decides the test; a failing write or close does not undo it.
    SkipFailingStep([&] {
        file->Write("test\r\n");
        file->Close();
    });
    return true;
}

// The ordinary files of the folder, in listing order; empty when it cannot be listed.
std::vector<std::string> OrdinaryFiles(const std::string& sFolder) {
    std::vector<std::string> names;
    SkipFailingStep([&] {
        for (const platform::FindEntry& entry :
             platform::Files().FindAll(sFolder + "*.*", platform::FindDetail::Attributes)) {
            if (entry.IsOrdinaryFile()) {
                names.push_back(entry.name);
            }
        }
    });
    return names;
}

// The read test: the first listed file opens for reading. The test files of other probes
// are passed over, as is a file gone by the time it is opened (another program's record
// moved to its job number, say): neither says anything about the folder. With nothing
// listed the folder itself is opened, which fails.
bool CanReadListedFile(const std::string& sFolder, const std::vector<std::string>& names,
                       const std::string& sOwnProbe) {
    for (const std::string& name : names) {
        if (name != sOwnProbe && IsProbeName(name)) {
            continue;
        }
        if (CanOpen(sFolder + name, platform::OpenMode::Input)) {
            return true;
        }
        if (!FindFile(sFolder + name).empty()) {
            return false;
        }
    }
    return CanOpen(sFolder + (names.empty() ? std::string() : names.front()),
                   platform::OpenMode::Input);
}

} // namespace

std::string GetFolderAccess(const std::string& sPath) {
    if (sPath.empty()) {
        return {};
    }
    const std::string sFolder = ProbedFolder(sPath);
    std::string sProbe;
    SkipFailingStep([&] { sProbe = FreeProbeName(sFolder); });
    std::string sAccess;
    if (!sProbe.empty() && WriteTest(sFolder + sProbe)) {
        sAccess += "write";
    }
    const std::vector<std::string> listed = OrdinaryFiles(sFolder);
    if (!listed.empty()) {
        sAccess += "list";
    }
    if (CanReadListedFile(sFolder, listed, sProbe)) {
        sAccess += "read";
    }
    if (!sProbe.empty()) {
        SkipFailingStep([&] { platform::Files().DeleteFile(sFolder + sProbe); });
    }
    if (sProbe.empty() || FindFile(sFolder + sProbe).empty()) {
        sAccess += "delete";
    }
    return sAccess;
}

std::string GetFileAccess(const std::string& sPath) {
    if (sPath.empty()) {
        return {};
    }
    const auto isListed = [&] {
        bool listed = false;
        SkipFailingStep([&] {
            const auto entry = platform::Files().FindFirst(sPath);
            listed = entry && entry->IsOrdinaryFile();
        });
        return listed;
    };
    std::string sAccess;
    // Opened for appending, nothing written: the file stays as it is.
    if (isListed() && CanOpen(sPath, platform::OpenMode::Append)) {
        sAccess += "write";
    }
    if (isListed()) {
        sAccess += "list";
    }
    if (CanOpen(sPath, platform::OpenMode::Input)) {
        sAccess += "read";
    }
    return sAccess;
}

} // namespace BCommon
