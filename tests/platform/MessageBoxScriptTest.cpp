// Unattended message boxes: scripted answers, default buttons, the JSON log line and the
// readable block, the same on both builds.
#include "platform/MessageBoxScript.h"

#include "platform/Desktop.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <list>
#include <string>
#include <vector>

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

TEST(MessageBoxScript, AnswersInOrderThenTheDefaultButton) {
    struct Box {
        std::int32_t style;
        std::int32_t expected;
    };
    struct Case {
        const char* script;
        std::vector<Box> boxes;
    };
    const Case cases[] = {
        // No script: every box takes its default button.
        {"",
         {{kExclamation, kAnswerOk}, {kYesNo + kDefaultButton2, kAnswerNo}, {kYesNo, kAnswerYes}}},
        // Words are trimmed, any letter case, taken in order across boxes; an empty word is
        // used up like any other.
        {" YES ,, no",
         {{kYesNo, kAnswerYes},
          {kYesNo + kDefaultButton2, kAnswerNo},
          {kYesNo, kAnswerNo},
          {kYesNo + kDefaultButton2, kAnswerNo}}},
        // A word naming no button of the box is used up; the default answers that box.
        {"no,yes", {{kOkOnly, kAnswerOk}, {kYesNo + kDefaultButton2, kAnswerYes}}},
        // A default button beyond the box's buttons falls back to its last button.
        {"",
         {{kOkCancel + kDefaultButton3, kAnswerCancel},
          {kYesNoCancel + kDefaultButton3, kAnswerCancel},
          {kOkOnly + kDefaultButton3, kAnswerOk}}},
    };
    for (const Case& c : cases) {
        const ScriptedAnswers answers(c.script);
        MessageBoxScript script;
        for (const Box& box : c.boxes) {
            EXPECT_EQ(script.Answer("T", "x", box.style).answer, box.expected)
                << "script '" << c.script << "', style " << box.style;
        }
    }
}

TEST(MessageBoxScript, RestartOrAChangedScriptStartsAgainFromTheFirstAnswer) {
    const ScriptedAnswers answers("no");
    MessageBoxScript script;
    EXPECT_EQ(script.Answer("T", "x", kYesNo).answer, kAnswerNo);
    EXPECT_EQ(script.Answer("T", "x", kYesNo).answer, kAnswerYes);
    script.Restart();
    EXPECT_EQ(script.Answer("T", "x", kYesNo).answer, kAnswerNo);
    const ScriptedAnswers changed("yes,no");
    EXPECT_EQ(script.Answer("T", "x", kYesNo + kDefaultButton2).answer, kAnswerYes);
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
    const auto question = script.Answer("Q", "", kYesNo + kQuestion + kDefaultButton2);
    EXPECT_EQ(question.logLine,
              "{\"title\":\"Q\",\"style\":292,\"text\":\"\",\"answer\":\"No\"}\n");
    EXPECT_EQ(question.readableBlock, "[message box] Q (question)\n  \n  -> No\n");
}

} // namespace
