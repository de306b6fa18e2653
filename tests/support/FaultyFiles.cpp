// A file service that passes every call on and fails the ones a test chooses: the Nth call of a
// kind raises a chosen error, or something runs just before it (a file changed between reads).
#include "support/FaultyFiles.h"

#include "ledgerline/platform/Error.h"

#include <utility>

namespace ldgr::test {
namespace {

// An open file whose reads, writes and flush are counted and may fail.
class FaultyTextFile final : public platform::TextFile {
public:
    FaultyTextFile(FaultyFiles& files, std::unique_ptr<platform::TextFile> file)
        : m_files(files), m_file(std::move(file)) {}

    void Write(std::string_view bytes) override { File(FileCall::Write).Write(bytes); }
    std::string ReadAll() override { return File(FileCall::Read).ReadAll(); }
    platform::FileBytes ReadAllBytes() override { return File(FileCall::Read).ReadAllBytes(); }
    std::string ReadAtMost(std::size_t count) override {
        return File(FileCall::Read).ReadAtMost(count);
    }
    void Close() override {
        try {
            File(FileCall::Flush).Close();
        } catch (...) {
            m_file.reset();
            throw;
        }
    }
    bool WritesInPlace() const override { return m_file && m_file->WritesInPlace(); }

private:
    // The file underneath, once the call went through the faults.
    platform::TextFile& File(FileCall call) {
        m_files.Enter(call);
        if (!m_file) {
            throw ldgr::Error(ldgr::kBadFileNameOrNumber);
        }
        return *m_file;
    }

    FaultyFiles& m_files;
    std::unique_ptr<platform::TextFile> m_file;
};

} // namespace

void FaultyFiles::Enter(FileCall call) {
    const int nth = ++m_calls[static_cast<std::size_t>(call)];
    for (const Rule& rule : m_rules) {
        if (rule.call == call && rule.change && rule.first == nth) {
            rule.change();
        }
    }
    for (const Rule& rule : m_rules) {
        if (rule.call == call && !rule.change && rule.first <= nth && nth <= rule.last) {
            throw ldgr::Error(rule.number);
        }
    }
}

std::unique_ptr<platform::TextFile>
FaultyFiles::OpenText(const std::string& path, platform::OpenMode mode, platform::ShareMode share) {
    Enter(mode == platform::OpenMode::Input ? FileCall::OpenToRead : FileCall::OpenToWrite);
    return std::make_unique<FaultyTextFile>(*this, ForwardingFiles::OpenText(path, mode, share));
}

} // namespace ldgr::test
