// A file service that passes every call on and fails the ones a test chooses: the Nth call of a
// kind raises a chosen error, or something runs just before it (a file changed between reads).
#pragma once

#include "ledgerline/platform/Forwarding.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace ldgr::test {

// The kinds of call counted, each from 1 since the service was made. A listing is one List call
// and one ListEntry call for each entry it hands out; a read is any of a file's reads, a flush
// its Close.
enum class FileCall {
    Find,
    Version,
    List,
    ListEntry,
    OpenToRead,
    OpenToWrite,
    Read,
    Write,
    Flush,
    CreateFolder,
    Copy,
    Move,
    Delete,
};
constexpr std::size_t kFileCallKinds = static_cast<std::size_t>(FileCall::Delete) + 1;

class FaultyFiles final : public platform::ForwardingFiles {
public:
    static constexpr int kEvery = std::numeric_limits<int>::max();

    using ForwardingFiles::ForwardingFiles;

    // Calls nth to nth + times - 1 of the kind raise the classic error number instead of
    // doing their work. A failed flush drops the file unclosed, as a Close that fails leaves it.
    void Fail(FileCall call, int nth, std::int32_t number, int times = 1);
    // Runs change just before the nth call of the kind goes on.
    void Before(FileCall call, int nth, std::function<void()> change);
    int Calls(FileCall call) const { return m_calls[Index(call)]; }

    // Counts one call of the kind, runs what is due before it and raises its fault, if any.
    void Enter(FileCall call);

    std::optional<platform::FindEntry> FindFirst(const std::string& path) override;
    std::vector<platform::FindEntry> FindAll(const std::string& pattern,
                                             platform::FindDetail detail) override;
    std::optional<platform::FileVersion> VersionOf(const std::string& path) override;
    void VisitUnordered(const std::string& pattern, platform::FindDetail detail,
                        const platform::FindVisitor& visit) override;
    void VisitInOrder(const std::string& pattern, platform::FindDetail detail,
                      const platform::FindVisitor& visit) override;
    void CreateFolder(const std::string& path) override;
    void CopyFile(const std::string& from, const std::string& to) override;
    void MoveFileNoReplace(const std::string& from, const std::string& to) override;
    void DeleteFile(const std::string& path) override;
    std::unique_ptr<platform::TextFile> OpenText(const std::string& path, platform::OpenMode mode,
                                                 platform::ShareMode share) override;

private:
    struct Fault {
        FileCall call;
        int first;
        int last;
        std::int32_t number;
    };
    struct Change {
        FileCall call;
        int nth;
        std::function<void()> change;
    };

    static std::size_t Index(FileCall call) { return static_cast<std::size_t>(call); }
    // The visitor counting each entry it is handed.
    platform::FindVisitor Counted(const platform::FindVisitor& visit);

    std::array<int, kFileCallKinds> m_calls{};
    std::vector<Fault> m_faults;
    std::vector<Change> m_changes;
};

} // namespace ldgr::test
