// Services that pass every call to the ones underneath: test doubles derive from them and
// override only what they change.
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
    std::optional<platform::FileVersion> VersionOf(const std::string& path) override {
        return m_underneath.VersionOf(path);
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

class ForwardingDesktop : public platform::Desktop {
public:
    explicit ForwardingDesktop(platform::Desktop& underneath = platform::RealDesktop())
        : m_underneath(underneath) {}

    std::string ExeName() override { return m_underneath.ExeName(); }
    std::string AppPath() override { return m_underneath.AppPath(); }
    std::string CommandLinePath(const std::string& argument) override {
        return m_underneath.CommandLinePath(argument);
    }
    void SetTitle(const std::string& title) override { m_underneath.SetTitle(title); }
    std::string Title() override { return m_underneath.Title(); }
    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override {
        return m_underneath.ShowMessageBox(title, text, style);
    }
    void ProcessPendingMessages() override { m_underneath.ProcessPendingMessages(); }

private:
    platform::Desktop& m_underneath;
};

class ForwardingSystemInfo : public platform::SystemInfo {
public:
    explicit ForwardingSystemInfo(platform::SystemInfo& underneath = platform::RealSystem())
        : m_underneath(underneath) {}

    std::string SystemFolder(std::size_t bufferSize) override {
        return m_underneath.SystemFolder(bufferSize);
    }
    std::optional<platform::OSVersion> Version() override { return m_underneath.Version(); }
    std::optional<std::string> UserName(std::size_t bufferSize) override {
        return m_underneath.UserName(bufferSize);
    }
    std::optional<std::string> ComputerName(std::size_t bufferSize) override {
        return m_underneath.ComputerName(bufferSize);
    }
    std::optional<std::string> UserProfileFolder(std::size_t bufferSize) override {
        return m_underneath.UserProfileFolder(bufferSize);
    }
    std::optional<std::string> SpecialFolder(int csidl) override {
        return m_underneath.SpecialFolder(csidl);
    }

private:
    platform::SystemInfo& m_underneath;
};

} // namespace ldgr::test
