// A file service that passes every call to the one underneath: test doubles derive from it
// and override only what they change.
#pragma once

#include "platform/Platform.h"

namespace ldgr::test {

class ForwardingFiles : public platform::FileSystem {
public:
    explicit ForwardingFiles(platform::FileSystem& underneath = platform::RealFiles())
        : m_underneath(underneath) {}

    std::optional<platform::FindEntry> FindFirst(const std::string& path) override {
        return m_underneath.FindFirst(path);
    }
    std::vector<platform::FindEntry> FindAll(const std::string& pattern,
                                             platform::FindDetail detail) override {
        return m_underneath.FindAll(pattern, detail);
    }
    std::vector<platform::FindEntry> FindAllUnordered(const std::string& pattern,
                                                      platform::FindDetail detail) override {
        return m_underneath.FindAllUnordered(pattern, detail);
    }
    void CreateFolder(const std::string& path) override { m_underneath.CreateFolder(path); }
    void CopyFile(const std::string& from, const std::string& to) override {
        m_underneath.CopyFile(from, to);
    }
    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        m_underneath.MoveFileNoReplace(from, to);
    }
    void DeleteFile(const std::string& path) override { m_underneath.DeleteFile(path); }
    std::unique_ptr<platform::TextFile> OpenText(const std::string& path, platform::OpenMode mode,
                                                 platform::ShareMode share) override {
        return m_underneath.OpenText(path, mode, share);
    }

protected:
    platform::FileSystem& Underneath() { return m_underneath; }

private:
    platform::FileSystem& m_underneath;
};

} // namespace ldgr::test
