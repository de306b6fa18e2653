// Test doubles of the platform services: files, registry and a recording desktop in memory.
#pragma once

#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Forwarding.h"
#include "ledgerline/platform/Platform.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ldgr::test {

// Files kept in memory under their upper-cased Windows path; folders and moves are the real
// file system's, which the code above the platform reaches through paths of its own. Every
// write of a file gives it a later last-write time unless the test says which; a file opened
// to Replace takes its new text at Close, all at once, and keeps the old one when it is
// dropped unclosed.
class MemoryFiles final : public platform::ForwardingFiles {
public:
    void Put(const std::string& path, std::string content);
    void PutAt(const std::string& path, std::string content, std::uint64_t lastWriteTime);
    void Remove(const std::string& path);
    std::string Content(const std::string& path) const;
    std::uint64_t LastWriteTime(const std::string& path) const;

    std::optional<platform::FindEntry> FindFirst(const std::string& path) override;
    // A file in memory has the version its listing tells: size and last-write time.
    std::optional<platform::FileVersion> VersionOf(const std::string& path) override {
        return FileSystem::VersionOf(path);
    }
    std::unique_ptr<platform::TextFile> OpenText(const std::string& path, platform::OpenMode mode,
                                                 platform::ShareMode share) override;

private:
    struct File {
        std::string content;
        std::uint64_t lastWriteTime = 0;
    };
    std::map<std::string, File> m_files;
    std::uint64_t m_lClock = 132000000000000000ull;
};

// One message box as the code showed it.
struct ShownBox {
    std::string title;
    std::string text;
    std::int32_t style = 0;
};

class RecordingDesktop final : public platform::ForwardingDesktop {
public:
    std::vector<ShownBox> boxes;
    std::deque<std::int32_t> answers; // used in order; the default button answers after them

    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override;
};

// Registry values in memory; a key marked read-only refuses full access, as a key the user may
// read but not change.
class MemoryRegistry final : public platform::Registry {
public:
    void Set(platform::RootKey root, const std::string& subKey, const std::string& valueName,
             std::uint32_t type, std::string data);
    void MakeReadOnly(const std::string& subKey) { m_readOnly.push_back(ascii::Upper(subKey)); }

    platform::RegistryValue ReadValue(platform::RootKey root, const std::string& subKey,
                                      const std::string& valueName, platform::RegistryAccess access,
                                      std::size_t bufferSize) override;

private:
    std::map<std::string, platform::RegistryValue> m_values;
    std::vector<std::string> m_readOnly;
};

} // namespace ldgr::test
