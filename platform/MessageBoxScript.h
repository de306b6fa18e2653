/// @file
/// Unattended message boxes: answers scripted in LDGR_MSGBOX_ANSWERS, each box described as a
/// readable block and as one JSON line for LDGR_MSGBOX_LOG. Both builds answer boxes this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

/// A box answered without a person: the button that closed it and how to record it.
struct ScriptedBox {
    std::int32_t answer = 0;   ///< the button that closed it (MessageBoxAnswer)
    std::string readableBlock; ///< for standard error
    std::string logLine;       ///< one JSON line, newline included
};

/// The answers scripted in LDGR_MSGBOX_ANSWERS, given out one box at a time.
class MessageBoxScript {
public:
    /// Whether LDGR_MSGBOX_LOG or LDGR_MSGBOX_ANSWERS is set: the run is unattended.
    static bool IsRequested();
    /// The file LDGR_MSGBOX_LOG names; nothing when unset or empty.
    static std::optional<std::string> LogPath();

    /// Answers a box with the next scripted answer that names one of its buttons, else with
    /// its default button. A scripted answer naming no button of the box is used up. The title
    /// and text come in UTF-8, the encoding of standard error and of the JSON log.
    ScriptedBox Answer(const std::string& title, const std::string& text, std::int32_t style);
    /// Takes the scripted answers from the first again (a new program start).
    void Restart() {
        m_sScript.clear();
        m_lUsed = 0;
    }

private:
    std::optional<std::string> NextScriptedWord();

    std::string m_sScript;
    std::size_t m_lUsed = 0;
};

} // namespace platform
