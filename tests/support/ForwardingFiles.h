// A file service that passes every call to the build's real one: the base of test doubles that
// change a few calls only.
#pragma once

#include "platform/Platform.h"

namespace ldgr::test {

class ForwardingFiles : public platform::FileSystem {
public:
    std::optional<platform::FindEntry> FindFirst(const std::string& path) override {
        return real.FindFirst(path);
    }
    std::vector<platform::FindEntry> FindAll(const std::string& pattern,
                                             platform::FindDetail detail) override {
        return real.FindAll(pattern, detail);
    }
    std::vector<platform::FindEntry> FindAllUnordered(const std::string& pattern,
                                                      platform::FindDetail detail) override {
        return real.FindAllUnordered(pattern, detail);
    }
    void CreateFolder(const std::string& path) override { real.CreateFolder(path); }
    void CopyFile(const std::string& from, const std::string& to) override {
        real.CopyFile(from, to);
    }
    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        real.MoveFileNoReplace(from, to);
    }
    void DeleteFile(const std::string& path) override { real.DeleteFile(path); }
    std::unique_ptr<platform::TextFile> OpenText(const std::string& path, platform::OpenMode mode,
                                                 platform::ShareMode share) override {
        return real.OpenText(path, mode, share);
    }

protected:
    platform::FileSystem& real = *platform::RealServices().files;
};

} // namespace ldgr::test
