// Unattended message boxes: scripted answers, default buttons, the JSON log line and the
// readable block, the same on both builds.
#include "ledgerline/platform/MessageBoxScript.h"

#include "ledgerline/platform/Desktop.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <list>
#include <string>
#include <utility>

namespace {

using namespace platform;

// Sets LDGR_MSGBOX_ANSWERS for the object's lifetime, through the one call both runtimes
// offer. The runtime keeps the entry's text, so every entry lives as long as the process.
class ScriptedAnswers {
public:
    explicit ScriptedAnswers(const std::string& script) { Set(script); }
    ~ScriptedAnswers() { Set(""); }

private:
    static void Set(const std::string& script) {
        static std::list<std::string> entries;
        putenv(entries.emplace_back("LDGR_MSGBOX_ANSWERS=" + script).data());
    }
};

// Words are trimmed, any letter case, taken in order across boxes; an empty word, or one naming
// no button of its box, is used up and the default button answers, or the last button when the
// box has fewer.
TEST(MessageBoxScript, AnswersInOrderThenTheDefaultButton) {
    const ScriptedAnswers answers(" YES ,, ok, no");
    MessageBoxScript script;
    const std::pair<std::int32_t, std::int32_t> boxes[] = {
        {kYesNo + kDefaultButton2, kAnswerYes},
        {kYesNo, kAnswerYes},
        {kYesNo, kAnswerYes},
        {kYesNo, kAnswerNo},
        {kYesNo + kDefaultButton2, kAnswerNo},
        {kOkCancel + kDefaultButton3, kAnswerCancel},
    };
    for (const auto& box : boxes) {
        EXPECT_EQ(script.Answer("T", "x", box.first).answer, box.second) << &box - boxes;
    }
}

// Each button answers with the number Windows gives it, whichever box it is on.
TEST(MessageBoxScript, EachButtonAnswersItsClassicNumber) {
    struct Button {
        const char* word;
        std::int32_t style;
        std::int32_t answer;
    };
    const Button buttons[] = {
        {.word = "ok", .style = 0, .answer = 1},     {.word = "cancel", .style = 1, .answer = 2},
        {.word = "abort", .style = 2, .answer = 3},  {.word = "retry", .style = 2, .answer = 4},
        {.word = "ignore", .style = 2, .answer = 5}, {.word = "yes", .style = 3, .answer = 6},
        {.word = "no", .style = 3, .answer = 7},     {.word = "retry", .style = 5, .answer = 4},
    };
    for (const Button& button : buttons) {
        const ScriptedAnswers answers(button.word);
        MessageBoxScript script;
        EXPECT_EQ(script.Answer("T", "x", button.style).answer, button.answer)
            << button.word << " in a box of style " << button.style;
    }
}

TEST(MessageBoxScript, LogLineAndReadableBlock) {
    const ScriptedAnswers answers("yes");
    MessageBoxScript script;
    const auto box = script.Answer(
        "Ledger\"line", "Unable to open:\r\"C:\\a\\b.ini\"\t\xc3\xa9\n\x01", kExclamation);
    EXPECT_EQ(box.logLine,
              "{\"title\":\"Ledger\\\"line\",\"style\":48,\"text\":\"Unable to "
              "open:\\r\\\"C:\\\\a\\\\b.ini\\\"\\t\xc3\xa9\\n\\u0001\",\"answer\":\"OK\"}\n");
    EXPECT_EQ(box.readableBlock,
              "[message box] Ledger\"line (exclamation)\n  Unable to open:\n  "
              "\"C:\\a\\b.ini\"\t\xc3\xa9\n\x01\n"
              "  (scripted answer \"yes\" names no button of this box; the default button "
              "answers)\n  -> OK\n");
}

} // namespace
