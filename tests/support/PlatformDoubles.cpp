// Test doubles of the platform services: files, registry and a recording desktop in memory.
#include "support/PlatformDoubles.h"

#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Error.h"

#include <algorithm>
#include <utility>

namespace ldgr::test {
namespace {

using ldgr::ascii::Upper;

std::string ValueKey(platform::RootKey root, const std::string& subKey,
                     const std::string& valueName) {
    return std::to_string(static_cast<std::uint32_t>(root)) + "\\" + Upper(subKey) + "\\\\" +
           Upper(valueName);
}

// An open file: input reads the content it was opened with, output stores each write, or
// all of them at Close when the file replaces its target.
class MemoryTextFile final : public platform::TextFile {
public:
    MemoryTextFile(MemoryFiles& files, std::string path, std::string content, bool bHeldBack)
        : m_files(files), m_path(std::move(path)), m_content(std::move(content)),
          m_bHeldBack(bHeldBack) {}

    void Write(std::string_view bytes) override {
        Content().append(bytes);
        if (!m_bHeldBack) {
            m_files.Put(m_path, m_content);
        }
    }
    std::string ReadAll() override { return ReadAtMost(std::string::npos); }
    std::string ReadAtMost(std::size_t count) override {
        std::string start = Content().substr(0, count);
        m_content.erase(0, start.size());
        return start;
    }
    void Close() override {
        Content();
        m_open = false;
        if (m_bHeldBack) {
            m_files.Put(m_path, m_content);
        }
    }

private:
    // What the open file holds; a closed one raises an error, as a real one does.
    std::string& Content() {
        if (!m_open) {
            throw ldgr::Error(ldgr::kBadFileNameOrNumber);
        }
        return m_content;
    }

    MemoryFiles& m_files;
    std::string m_path;
    std::string m_content;
    bool m_bHeldBack;
    bool m_open = true;
};

} // namespace

void MemoryFiles::Put(const std::string& path, std::string content) {
    PutAt(path, std::move(content), m_lClock += 10'000'000);
}

void MemoryFiles::PutAt(const std::string& path, std::string content, std::uint64_t lastWriteTime) {
    m_files[Upper(path)] = File{std::move(content), lastWriteTime};
}

void MemoryFiles::Remove(const std::string& path) {
    m_files.erase(Upper(path));
}

std::string MemoryFiles::Content(const std::string& path) const {
    const auto file = m_files.find(Upper(path));
    return file == m_files.end() ? std::string() : file->second.content;
}

std::uint64_t MemoryFiles::LastWriteTime(const std::string& path) const {
    return m_files.at(Upper(path)).lastWriteTime;
}

std::optional<platform::FindEntry> MemoryFiles::FindFirst(const std::string& path) {
    const auto file = m_files.find(Upper(path));
    if (file == m_files.end()) {
        return std::nullopt;
    }
    return platform::FindEntry{.name = path.substr(path.find_last_of('\\') + 1),
                               .lastWriteTime = file->second.lastWriteTime,
                               .size = file->second.content.size()};
}

std::unique_ptr<platform::TextFile>
MemoryFiles::OpenText(const std::string& path, platform::OpenMode mode, platform::ShareMode) {
    if (mode == platform::OpenMode::Input) {
        const auto file = m_files.find(Upper(path));
        if (file == m_files.end()) {
            throw ldgr::Error(ldgr::kFileNotFound);
        }
        return std::make_unique<MemoryTextFile>(*this, path, file->second.content, false);
    }
    std::string start = mode == platform::OpenMode::Append ? Content(path) : std::string();
    const bool bHeldBack = mode == platform::OpenMode::Replace;
    if (!bHeldBack) {
        Put(path, start);
    }
    return std::make_unique<MemoryTextFile>(*this, path, std::move(start), bHeldBack);
}

std::int32_t RecordingDesktop::ShowMessageBox(const std::string& title, const std::string& text,
                                              std::int32_t style) {
    boxes.push_back({title, text, style});
    if (!answers.empty()) {
        const std::int32_t answer = answers.front();
        answers.pop_front();
        return answer;
    }
    if ((style & 0xF) != platform::kYesNo) {
        return platform::kAnswerOk;
    }
    return (style & platform::kDefaultButton2) != 0 ? platform::kAnswerNo : platform::kAnswerYes;
}

void MemoryRegistry::Set(platform::RootKey root, const std::string& subKey,
                         const std::string& valueName, std::uint32_t type, std::string data) {
    m_values[ValueKey(root, subKey, valueName)] = {platform::RegistryStatus::Ok, type,
                                                   std::move(data)};
}

platform::RegistryValue MemoryRegistry::ReadValue(platform::RootKey root, const std::string& subKey,
                                                  const std::string& valueName,
                                                  platform::RegistryAccess access,
                                                  std::size_t bufferSize) {
    if (access == platform::RegistryAccess::AllAccess &&
        std::ranges::count(m_readOnly, Upper(subKey)) != 0) {
        return {platform::RegistryStatus::KeyNotOpened, platform::kRegNone, {}};
    }
    const auto value = m_values.find(ValueKey(root, subKey, valueName));
    if (value == m_values.end() || value->second.data.size() > bufferSize) {
        return {platform::RegistryStatus::ValueNotRead, platform::kRegNone, {}};
    }
    return value->second;
}

} // namespace ldgr::test
