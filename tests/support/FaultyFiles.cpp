// A file service that passes every call on and fails the ones a test chooses: the Nth call of a
// kind raises a chosen error, or something runs just before it (a file changed between reads).
#include "support/FaultyFiles.h"

#include "ledgerline/platform/Error.h"

#include <utility>

namespace ldgr::test {
namespace {

using platform::FindDetail;
using platform::FindEntry;

// An open file whose reads, writes and flush are counted and may fail.
class FaultyTextFile final : public platform::TextFile {
public:
    FaultyTextFile(FaultyFiles& files, std::unique_ptr<platform::TextFile> file)
        : m_files(files), m_file(std::move(file)) {}

    void Write(std::string_view bytes) override {
        m_files.Enter(FileCall::Write);
        File().Write(bytes);
    }
    std::string ReadAll() override {
        m_files.Enter(FileCall::Read);
        return File().ReadAll();
    }
    platform::FileBytes ReadAllBytes() override {
        m_files.Enter(FileCall::Read);
        return File().ReadAllBytes();
    }
    std::string ReadAtMost(std::size_t count) override {
        m_files.Enter(FileCall::Read);
        return File().ReadAtMost(count);
    }
    void Close() override {
        try {
            m_files.Enter(FileCall::Flush);
        } catch (...) {
            m_file.reset();
            throw;
        }
        File().Close();
    }
    bool WritesInPlace() const override { return m_file && m_file->WritesInPlace(); }

private:
    platform::TextFile& File() {
        if (!m_file) {
            throw ldgr::Error(ldgr::kBadFileNameOrNumber);
        }
        return *m_file;
    }

    FaultyFiles& m_files;
    std::unique_ptr<platform::TextFile> m_file;
};

} // namespace

void FaultyFiles::Fail(FileCall call, int nth, std::int32_t number, int times) {
    const int last = times > kEvery - nth ? kEvery : nth + times - 1;
    m_faults.push_back({.call = call, .first = nth, .last = last, .number = number});
}

void FaultyFiles::Before(FileCall call, int nth, std::function<void()> change) {
    m_changes.push_back({.call = call, .nth = nth, .change = std::move(change)});
}

void FaultyFiles::Enter(FileCall call) {
    const int nth = ++m_calls[Index(call)];
    for (const Change& due : m_changes) {
        if (due.call == call && due.nth == nth) {
            due.change();
        }
    }
    for (const Fault& fault : m_faults) {
        if (fault.call == call && fault.first <= nth && nth <= fault.last) {
            throw ldgr::Error(fault.number);
        }
    }
}

platform::FindVisitor FaultyFiles::Counted(const platform::FindVisitor& visit) {
    return [this, &visit](const FindEntry& entry) {
        Enter(FileCall::ListEntry);
        return visit(entry);
    };
}

std::optional<FindEntry> FaultyFiles::FindFirst(const std::string& path) {
    Enter(FileCall::Find);
    return ForwardingFiles::FindFirst(path);
}

std::vector<FindEntry> FaultyFiles::FindAll(const std::string& pattern, FindDetail detail) {
    Enter(FileCall::List);
    std::vector<FindEntry> found = ForwardingFiles::FindAll(pattern, detail);
    for (std::size_t n = 0; n < found.size(); ++n) {
        Enter(FileCall::ListEntry);
    }
    return found;
}

std::optional<platform::FileVersion> FaultyFiles::VersionOf(const std::string& path) {
    Enter(FileCall::Version);
    return ForwardingFiles::VersionOf(path);
}

void FaultyFiles::VisitUnordered(const std::string& pattern, FindDetail detail,
                                 const platform::FindVisitor& visit) {
    Enter(FileCall::List);
    ForwardingFiles::VisitUnordered(pattern, detail, Counted(visit));
}

void FaultyFiles::VisitInOrder(const std::string& pattern, FindDetail detail,
                               const platform::FindVisitor& visit) {
    Enter(FileCall::List);
    ForwardingFiles::VisitInOrder(pattern, detail, Counted(visit));
}

void FaultyFiles::CreateFolder(const std::string& path) {
    Enter(FileCall::CreateFolder);
    ForwardingFiles::CreateFolder(path);
}

void FaultyFiles::CopyFile(const std::string& from, const std::string& to) {
    Enter(FileCall::Copy);
    ForwardingFiles::CopyFile(from, to);
}

void FaultyFiles::MoveFileNoReplace(const std::string& from, const std::string& to) {
    Enter(FileCall::Move);
    ForwardingFiles::MoveFileNoReplace(from, to);
}

void FaultyFiles::DeleteFile(const std::string& path) {
    Enter(FileCall::Delete);
    ForwardingFiles::DeleteFile(path);
}

std::unique_ptr<platform::TextFile>
FaultyFiles::OpenText(const std::string& path, platform::OpenMode mode, platform::ShareMode share) {
    Enter(mode == platform::OpenMode::Input ? FileCall::OpenToRead : FileCall::OpenToWrite);
    return std::make_unique<FaultyTextFile>(*this, ForwardingFiles::OpenText(path, mode, share));
}

} // namespace ldgr::test
