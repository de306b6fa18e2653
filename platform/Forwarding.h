/// @file
/// Services passing every call on to others: a wrapper (a test double, a tool that records what
/// it shows) derives and overrides only what it changes.
#pragma once

#include "ledgerline/platform/Platform.h"

namespace platform {

/// A file service passing every call on to another.
///
/// HoldsBytes is left to its default, which compares through OpenText: a wrapper that reads
/// files its own way (an in-memory double) then compares them its own way too.
class ForwardingFiles : public FileSystem {
public:
    /// Passes every call on to underneath: by default the build's real service.
    explicit ForwardingFiles(FileSystem& underneath = RealFiles()) : m_inner(underneath) {}

    std::optional<FindEntry> FindFirst(const std::string& path) override {
        return m_inner.FindFirst(path);
    }
    std::vector<FindEntry> FindAll(const std::string& pattern, FindDetail detail) override {
        return m_inner.FindAll(pattern, detail);
    }
    std::optional<FileVersion> VersionOf(const std::string& path) override {
        return m_inner.VersionOf(path);
    }
    void VisitUnordered(const std::string& pattern, FindDetail detail,
                        const FindVisitor& visit) override {
        m_inner.VisitUnordered(pattern, detail, visit);
    }
    void VisitInOrder(const std::string& pattern, FindDetail detail,
                      const FindVisitor& visit) override {
        m_inner.VisitInOrder(pattern, detail, visit);
    }
    void CreateFolder(const std::string& path) override { m_inner.CreateFolder(path); }
    void CopyFile(const std::string& from, const std::string& to) override {
        m_inner.CopyFile(from, to);
    }
    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        m_inner.MoveFileNoReplace(from, to);
    }
    void DeleteFile(const std::string& path) override { m_inner.DeleteFile(path); }
    std::unique_ptr<TextFile> OpenText(const std::string& path, OpenMode mode,
                                       ShareMode share) override {
        return m_inner.OpenText(path, mode, share);
    }

protected:
    /// The service every call is passed on to.
    FileSystem& Underneath() { return m_inner; }

private:
    FileSystem& m_inner;
};

/// A desktop service passing every call on to another.
class ForwardingDesktop : public Desktop {
public:
    /// Passes every call on to underneath: by default the build's real service.
    explicit ForwardingDesktop(Desktop& underneath = RealDesktop()) : m_inner(underneath) {}

    std::string ExeName() override { return m_inner.ExeName(); }
    std::string AppPath() override { return m_inner.AppPath(); }
    std::string CommandLinePath(const std::string& arg) override {
        return m_inner.CommandLinePath(arg);
    }
    void SetTitle(const std::string& title) override { m_inner.SetTitle(title); }
    std::string Title() override { return m_inner.Title(); }
    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override {
        return m_inner.ShowMessageBox(title, text, style);
    }
    void ProcessPendingMessages() override { m_inner.ProcessPendingMessages(); }

private:
    Desktop& m_inner;
};

/// A system service passing every call on to another.
class ForwardingSystemInfo : public SystemInfo {
public:
    /// Passes every call on to underneath: by default the build's real service.
    explicit ForwardingSystemInfo(SystemInfo& underneath = RealSystem()) : m_inner(underneath) {}

    std::string SystemFolder(std::size_t size) override { return m_inner.SystemFolder(size); }
    std::optional<OSVersion> Version() override { return m_inner.Version(); }
    std::optional<std::string> UserName(std::size_t size) override {
        return m_inner.UserName(size);
    }
    std::optional<std::string> ComputerName(std::size_t size) override {
        return m_inner.ComputerName(size);
    }
    std::optional<std::string> UserProfileFolder(std::size_t size) override {
        return m_inner.UserProfileFolder(size);
    }
    std::optional<std::string> SpecialFolder(int csidl) override {
        return m_inner.SpecialFolder(csidl);
    }

private:
    SystemInfo& m_inner;
};

} // namespace platform
