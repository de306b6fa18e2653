// The hosted desktop: identity from argv[0], message boxes on stderr, a JSON log and scripted
// answers, and no window messages to process.
#include "ledgerline/platform/MessageBoxScript.h"
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/HostIo.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

namespace platform::posix {
namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The host folder that argv[0] names; a bare name is looked up on PATH as the shell did.
std::string InvocationFolder(const std::string& argv0) {
    const auto slash = argv0.find_last_of('/');
    if (slash != std::string::npos) {
        return slash == 0 ? "/" : argv0.substr(0, slash);
    }
    if (const char* path = std::getenv("PATH")) {
        std::stringstream folders(path);
        for (std::string folder; std::getline(folders, folder, ':');) {
            if (!folder.empty() && access((folder + "/" + argv0).c_str(), X_OK) == 0) {
                return folder;
            }
        }
    }
    return ".";
}

void AppendToLog(const std::string& line) {
    const auto path = MessageBoxScript::LogPath();
    if (!path) {
        return;
    }
    const FileDescriptor fd(open(path->c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666));
    // One write per line, so boxes of programs running side by side never interleave.
    if (!fd.IsOpen() ||
        write(fd.Get(), line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        const std::string warning =
            "[message box] cannot append to " + *path + ": " + std::strerror(errno) + "\n";
        std::fwrite(warning.data(), 1, warning.size(), stderr);
    }
}

class PosixDesktop final : public Desktop {
public:
    std::string ExeName() override {
        std::string name = HostToCodePage(BaseName(m_sInvocationName));
        if (const auto dot = name.find_last_of('.'); dot != std::string::npos && dot > 0) {
            name.erase(dot);
        }
        return name;
    }

    std::string AppPath() override { return m_sAppPath; }

    // A path with a drive or a share is a Windows path already (its slashes become
    // backslashes, as the system's full-path call makes them); anything else is a host path.
    std::string CommandLinePath(const std::string& argument) override {
        const bool windowsPath = argument.starts_with("\\\\") || argument.starts_with("//") ||
                                 (argument.size() >= 2 && argument[1] == ':');
        if (!windowsPath) {
            return ToWindowsPath(argument);
        }
        std::string path = HostToCodePage(argument);
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    void SetTitle(const std::string& title) override { m_sTitle = title; }
    std::string Title() override { return m_sTitle.empty() ? ExeName() : m_sTitle; }

    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override {
        const ScriptedBox box = m_script.Answer(CodePageToHost(title), CodePageToHost(text), style);
        std::fwrite(box.readableBlock.data(), 1, box.readableBlock.size(), stderr);
        std::fflush(stderr);
        AppendToLog(box.logLine);
        return box.answer;
    }

    void ProcessPendingMessages() override {}

    // A new start: the identity from argv[0], fixed now so that a later change of the current
    // folder moves nothing; no title yet; the scripted answers taken from the first again.
    void Start(const std::string& argv0) {
        m_sInvocationName = argv0;
        m_sAppPath = ToWindowsPath(InvocationFolder(argv0));
        if (m_sAppPath.size() > 3 && m_sAppPath.ends_with('\\')) {
            m_sAppPath.pop_back();
        }
        m_sTitle.clear();
        m_script.Restart();
    }

private:
    std::string m_sInvocationName;
    std::string m_sAppPath;
    std::string m_sTitle;
    MessageBoxScript m_script;
};

PosixDesktop& TheDesktop() {
    static PosixDesktop desktop;
    return desktop;
}

} // namespace

void StartDesktop(const std::string& argv0) {
    TheDesktop().Start(argv0);
}

} // namespace platform::posix

namespace platform {

// The build's real desktop service.
Desktop& RealDesktop() {
    return posix::TheDesktop();
}

} // namespace platform
