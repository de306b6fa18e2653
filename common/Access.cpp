// The folder permission probe: what the user may really do in a folder or with a file.
//
// The folder probe writes its test line into a file of its own instead of "test.txt": a
// temporary made exclusively under a random name ("test-", 16 decimal digits, ".txt").
// A user's own "test.txt" is never replaced or removed, and programs probing the same folder
// at the same moment (one user starting several programs, or several workstations) never
// delete each other's test file. The words are those of a probe with "test.txt".
#include "ledgerline/common/Access.h"

#include "ledgerline/common/DateAndFiles.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/common/Paths.h"
#include "ledgerline/common/Temporaries.h"
#include "ledgerline/platform/Platform.h"

#include <optional>
#include <utility>

namespace BCommon {
namespace {

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

// The write test's file: made by the test, removed by the delete test, and removed all the
// same when the probe stops on an error it lets through (the system out of file handles), so
// no test file is left behind.
class ProbeFile {
public:
    explicit ProbeFile(std::string sFolder) : m_sFolder(std::move(sFolder)) {}
    ~ProbeFile() {
        if (!m_sName.empty()) {
            IgnoreFailures([&] { platform::Files().DeleteFile(m_sFolder + m_sName); });
        }
    }
    ProbeFile(const ProbeFile&) = delete;
    ProbeFile& operator=(const ProbeFile&) = delete;

    // The name of the test file made, empty when none could be made.
    const std::string& Name() const { return m_sName; }

    // The write test: whether the test file could be made.
    bool WriteTest() {
        SkipFailingStep([&] {
            CreatedTemporary probe = CreateTemporary(m_sFolder, TemporaryKind::AccessProbe);
            m_sName = probe.sName;
            // Only the create decides the test; a failing write or close does not undo it.
            IgnoreFailures([&] {
                probe.pFile->Write("test\r\n");
                probe.pFile->Close();
            });
        });
        return !m_sName.empty();
    }

    // The delete test: whether no test file is left, also when none was made.
    bool DeleteTest() {
        const std::string sPath = m_sFolder + std::exchange(m_sName, {});
        return sPath == m_sFolder ||
               SkipFailingStep([&] { platform::Files().DeleteFile(sPath); }) ||
               FindFile(sPath).empty();
    }

private:
    std::string m_sFolder;
    std::string m_sName;
};

struct ListAndReadOutcome {
    bool listed = false;
    bool readable = false;
};

// The list and read tests in one walk over the folder's ordinary files, in the order of its
// listing: listed when any comes back, readable when the first that opens for reading comes
// before one that exists and does not. The test files of other probes are passed over, as is a
// file gone by the time it is opened (another program's record moved to its job number, say):
// neither says anything about the folder. No file is opened past the first usable one. When
// every file was passed over, the first listed is opened; with nothing listed, the folder
// itself, which fails.
ListAndReadOutcome ListAndReadTests(const std::string& sFolder, const std::string& sOwnProbe) {
    ListAndReadOutcome outcome;
    std::string sFirstListed;
    std::optional<bool> readable;
    SkipFailingStep([&] {
        platform::Files().VisitInOrder(
            sFolder + "*.*", platform::FindDetail::Attributes,
            [&](const platform::FindEntry& entry) {
                if (!entry.IsOrdinaryFile()) {
                    return true;
                }
                if (!outcome.listed) {
                    outcome.listed = true;
                    sFirstListed = entry.name;
                }
                if (entry.name != sOwnProbe && IsProbeFileName(entry.name)) {
                    return true;
                }
                if (CanOpen(sFolder + entry.name, platform::OpenMode::Input)) {
                    readable = true;
                } else if (!FindFile(sFolder + entry.name).empty()) {
                    readable = false;
                }
                return !readable.has_value();
            });
    });
    outcome.readable =
        readable ? *readable : CanOpen(sFolder + sFirstListed, platform::OpenMode::Input);
    return outcome;
}

} // namespace

std::string GetFolderAccess(const std::string& sPath) {
    if (sPath.empty()) {
        return {};
    }
    const std::string sFolder = ProbedFolder(sPath);
    ProbeFile probe(sFolder);
    std::string sAccess = probe.WriteTest() ? "write" : "";
    const ListAndReadOutcome listAndRead = ListAndReadTests(sFolder, probe.Name());
    if (listAndRead.listed) {
        sAccess += "list";
    }
    if (listAndRead.readable) {
        sAccess += "read";
    }
    if (probe.DeleteTest()) {
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
