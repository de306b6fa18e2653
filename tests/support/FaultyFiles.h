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

// The kinds of call counted, each from 1 since the service was made. A listing walked (the way
// the program lists folders) is one List call and one ListEntry call for each entry it hands
// out; FindAll, folder creation, copies and deletes pass uncounted. Read is any of a file's
// reads, Flush its Close.
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
    Move
};

class FaultyFiles final : public platform::ForwardingFiles {
public:
    static constexpr int kEvery = std::numeric_limits<int>::max();

    using ForwardingFiles::ForwardingFiles;

    // Calls nth to nth + times - 1 of the kind raise the classic error number instead of doing
    // their work. A failed flush drops the file unclosed, as a Close that fails leaves it.
    void Fail(FileCall call, int nth, std::int32_t number, int times = 1) {
        m_rules.push_back({call, nth, times > kEvery - nth ? kEvery : nth + times - 1, number, {}});
    }
    // Runs change just before the nth call of the kind goes on.
    void Before(FileCall call, int nth, std::function<void()> change) {
        m_rules.push_back({call, nth, nth, 0, std::move(change)});
    }
    int Calls(FileCall call) const { return m_calls[static_cast<std::size_t>(call)]; }

    // Counts one call of the kind, runs what is due before it and raises its fault, if any.
    void Enter(FileCall call);

    std::optional<platform::FindEntry> FindFirst(const std::string& path) override {
        Enter(FileCall::Find);
        return ForwardingFiles::FindFirst(path);
    }
    std::optional<platform::FileVersion> VersionOf(const std::string& path) override {
        Enter(FileCall::Version);
        return ForwardingFiles::VersionOf(path);
    }
    void VisitUnordered(const std::string& pattern, platform::FindDetail detail,
                        const platform::FindVisitor& visit) override {
        Enter(FileCall::List);
        ForwardingFiles::VisitUnordered(pattern, detail, Counted(visit));
    }
    void VisitInOrder(const std::string& pattern, platform::FindDetail detail,
                      const platform::FindVisitor& visit) override {
        Enter(FileCall::List);
        ForwardingFiles::VisitInOrder(pattern, detail, Counted(visit));
    }
    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        Enter(FileCall::Move);
        ForwardingFiles::MoveFileNoReplace(from, to);
    }
    std::unique_ptr<platform::TextFile> OpenText(const std::string& path, platform::OpenMode mode,
                                                 platform::ShareMode share) override;

private:
    // Calls first to last of a kind fail with number, or change runs before call first.
    struct Rule {
        FileCall call;
        int first;
        int last;
        std::int32_t number;
        std::function<void()> change;
    };

    // The visitor counting each entry it is handed.
    platform::FindVisitor Counted(const platform::FindVisitor& visit) {
        return [this, &visit](const platform::FindEntry& entry) {
            Enter(FileCall::ListEntry);
            return visit(entry);
        };
    }

    std::array<int, static_cast<std::size_t>(FileCall::Move) + 1> m_calls{};
    std::vector<Rule> m_rules;
};

} // namespace ldgr::test
