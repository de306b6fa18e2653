// Unattended message boxes: scripted answers, the readable block and the JSON log line.
#include "ledgerline/platform/MessageBoxScript.h"

#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Desktop.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace platform {
namespace {

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

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : value;
}

// The block shows the text with CR as a line break, and a note when the scripted answer named
// no button of the box, so a script that has gone out of step is easy to spot.
std::string ReadableBlock(const std::string& title, const std::string& text, std::int32_t style,
                          const std::string& note, const Button& answer) {
    std::string block = "[message box] " + title + " (" + IconWord(style) + ")\n  ";
    for (const char c : text) {
        block += c == '\r' ? std::string("\n  ") : std::string(1, c);
    }
    if (!note.empty()) {
        block += "\n  (" + note + ")";
    }
    return block + "\n  -> " + answer.name + "\n";
}

// JSON string text for code page bytes: bytes above 127 are shown as the characters of the
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
            // UTF-8 passes as it is; control characters are escaped.
            if (byte < 0x20 || byte == 0x7F) {
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

} // namespace

bool MessageBoxScript::IsRequested() {
    return std::getenv("LDGR_MSGBOX_LOG") != nullptr ||
           std::getenv("LDGR_MSGBOX_ANSWERS") != nullptr;
}

std::optional<std::string> MessageBoxScript::LogPath() {
    std::string path = EnvironmentText("LDGR_MSGBOX_LOG");
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}

// The scripted answers are taken in order across the process's boxes; a changed script
// starts again from its first answer.
std::optional<std::string> MessageBoxScript::NextScriptedWord() {
    const std::string script = EnvironmentText("LDGR_MSGBOX_ANSWERS");
    if (script != m_sScript) {
        m_sScript = script;
        m_lUsed = 0;
    }
    std::vector<std::string> words;
    std::stringstream stream(script);
    for (std::string word; std::getline(stream, word, ',');) {
        words.push_back(ldgr::ascii::Lower(ldgr::ascii::TrimBlanks(word)));
    }
    if (m_lUsed >= words.size()) {
        return std::nullopt;
    }
    return words[m_lUsed++];
}

ScriptedBox MessageBoxScript::Answer(const std::string& title, const std::string& text,
                                     std::int32_t style) {
    const std::vector<Button> buttons = ButtonsOf(style);
    const std::size_t defaultIndex = std::min<std::size_t>((style >> 8) & 0xF, buttons.size() - 1);
    Button answer = buttons[defaultIndex];
    std::string note;
    if (const auto word = NextScriptedWord()) {
        const auto named = std::find_if(buttons.begin(), buttons.end(),
                                        [&](const Button& button) { return *word == button.word; });
        if (named != buttons.end()) {
            answer = *named;
        } else {
            note = "scripted answer \"" + *word +
                   "\" names no button of this box; the default button answers";
        }
    }
    ScriptedBox box;
    box.answer = answer.answer;
    box.readableBlock = ReadableBlock(title, text, style, note, answer);
    box.logLine = "{\"title\":" + JsonString(title) + ",\"style\":" + std::to_string(style) +
                  ",\"text\":" + JsonString(text) + ",\"answer\":\"" + answer.name + "\"}\n";
    return box;
}

} // namespace platform
