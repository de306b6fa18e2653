// The hosted desktop: identity from argv[0], message boxes on stderr, a JSON log and scripted
// answers, and no window messages to process.
#include "platform/posix/Hosted.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>
#include <vector>

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

struct Button {
    std::int32_t answer;
    const char* word; // as LDGR_MSGBOX_ANSWERS spells it
    const char* name; // as the log shows it
};

constexpr Button kOk{kAnswerOk, "ok", "OK"};
constexpr Button kCancel{kAnswerCancel, "cancel", "Cancel"};
constexpr Button kAbort{3, "abort", "Abort"};
constexpr Button kRetry{4, "retry", "Retry"};
constexpr Button kIgnore{5, "ignore", "Ignore"};
constexpr Button kYes{kAnswerYes, "yes", "Yes"};
constexpr Button kNo{kAnswerNo, "no", "No"};

std::vector<Button> ButtonsOf(std::int32_t style) {
    switch (style & 0xF) {
    case 1:
        return {kOk, kCancel};
    case 2:
        return {kAbort, kRetry, kIgnore};
    case 3:
        return {kYes, kNo, kCancel};
    case 4:
        return {kYes, kNo};
    case 5:
        return {kRetry, kCancel};
    default:
        return {kOk};
    }
}

const char* IconWord(std::int32_t style) {
    switch (style & 0xF0) {
    case kCritical:
        return "critical";
    case kQuestion:
        return "question";
    case kExclamation:
        return "exclamation";
    case kInformation:
        return "information";
    default:
        return "no icon";
    }
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return text;
}

// The scripted answers of LDGR_MSGBOX_ANSWERS, taken in order across the process's boxes.
class ScriptedAnswers {
public:
    void Restart() {
        m_sScript.clear();
        m_lUsed = 0;
    }

    std::optional<std::string> Next() {
        const char* value = std::getenv("LDGR_MSGBOX_ANSWERS");
        const std::string script = value == nullptr ? std::string() : value;
        if (script != m_sScript) {
            m_sScript = script;
            m_lUsed = 0;
        }
        std::vector<std::string> words;
        std::stringstream stream(script);
        for (std::string word; std::getline(stream, word, ',');) {
            const auto first = word.find_first_not_of(" \t");
            const auto last = word.find_last_not_of(" \t");
            words.push_back(
                first == std::string::npos ? "" : Lower(word.substr(first, last - first + 1)));
        }
        if (m_lUsed >= words.size()) {
            return std::nullopt;
        }
        return words[m_lUsed++];
    }

private:
    std::string m_sScript;
    std::size_t m_lUsed = 0;
};

// JSON text for the code page's bytes: bytes above 127 are shown as the characters of the
// same number.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20 || byte >= 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void AppendToLog(const std::string& line) {
    const char* path = std::getenv("LDGR_MSGBOX_LOG");
    if (path == nullptr || *path == '\0') {
        return;
    }
    const int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        return;
    }
    // One write per line, so boxes of programs running side by side never interleave.
    [[maybe_unused]] const ssize_t written = write(fd, line.data(), line.size());
    close(fd);
}

void ShowOnStderr(const std::string& title, const std::string& text, std::int32_t style,
                  const Button& answer) {
    std::string block = "[message box] " + title + " (" + IconWord(style) + ")\n  ";
    for (const char c : text) {
        block += c == '\r' ? std::string("\n  ") : std::string(1, c);
    }
    block += std::string("\n  -> ") + answer.name + "\n";
    std::fwrite(block.data(), 1, block.size(), stderr);
    std::fflush(stderr);
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
        const std::vector<Button> buttons = ButtonsOf(style);
        const std::size_t defaultIndex =
            std::min<std::size_t>((style >> 8) & 0xF, buttons.size() - 1);
        Button answer = buttons[defaultIndex];
        // A scripted answer that names no button of this box is used up; the default answers.
        if (const auto word = m_answers.Next()) {
            for (const Button& button : buttons) {
                if (*word == button.word) {
                    answer = button;
                }
            }
        }
        ShowOnStderr(title, text, style, answer);
        AppendToLog("{\"title\":" + JsonString(title) + ",\"style\":" + std::to_string(style) +
                    ",\"text\":" + JsonString(text) + ",\"answer\":\"" + answer.name + "\"}\n");
        return answer.answer;
    }

    void ProcessPendingMessages() override {}

    // A new start: no title yet, and the scripted answers are taken from the first again.
    void Restart() {
        m_sTitle.clear();
        m_answers.Restart();
    }

private:
    std::string m_sTitle;
    ScriptedAnswers m_answers;
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
