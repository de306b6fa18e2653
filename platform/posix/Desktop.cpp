// The hosted desktop: identity from argv[0], message boxes on stderr, a JSON log and scripted
// answers, and no window messages to process.
#include "platform/MessageBoxScript.h"
#include "platform/posix/Hosted.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

namespace platform::posix {
namespace {

std::string g_invocationName;

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The folder that argv[0] names; a bare name is looked up on PATH as the shell did.
std::string InvocationFolder() {
    const auto slash = g_invocationName.find_last_of('/');
    if (slash != std::string::npos) {
        return slash == 0 ? "/" : g_invocationName.substr(0, slash);
    }
    if (const char* path = std::getenv("PATH")) {
        std::stringstream folders(path);
        for (std::string folder; std::getline(folders, folder, ':');) {
            if (!folder.empty() && access((folder + "/" + g_invocationName).c_str(), X_OK) == 0) {
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
    const int fd = open(path->c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return;
    }
    // One write per line, so boxes of programs running side by side never interleave.
    [[maybe_unused]] const ssize_t written = write(fd, line.data(), line.size());
    close(fd);
}

class PosixDesktop final : public Desktop {
public:
    std::string ExeName() override {
        std::string name = BaseName(g_invocationName);
        if (const auto dot = name.find_last_of('.'); dot != std::string::npos && dot > 0) {
            name.erase(dot);
        }
        return name;
    }

    std::string AppPath() override {
        std::string path = ToWindowsPath(InvocationFolder());
        if (path.size() > 3 && path.ends_with('\\')) {
            path.pop_back();
        }
        return path;
    }

    void SetTitle(const std::string& title) override { m_sTitle = title; }
    std::string Title() override { return m_sTitle.empty() ? ExeName() : m_sTitle; }

    std::int32_t ShowMessageBox(const std::string& title, const std::string& text,
                                std::int32_t style) override {
        const ScriptedBox box = m_script.Answer(title, text, style);
        std::fwrite(box.readableBlock.data(), 1, box.readableBlock.size(), stderr);
        std::fflush(stderr);
        AppendToLog(box.logLine);
        return box.answer;
    }

    void ProcessPendingMessages() override {}

    // A new start: no title yet, and the scripted answers are taken from the first again.
    void Restart() {
        m_sTitle.clear();
        m_script.Restart();
    }

private:
    std::string m_sTitle;
    MessageBoxScript m_script;
};

PosixDesktop& TheDesktop() {
    static PosixDesktop desktop;
    return desktop;
}

} // namespace

void SetInvocationName(const std::string& argv0) {
    g_invocationName = argv0;
    TheDesktop().Restart();
}

Desktop& HostedDesktop() {
    return TheDesktop();
}

} // namespace platform::posix
