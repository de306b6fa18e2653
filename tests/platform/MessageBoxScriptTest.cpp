// Unattended message boxes: scripted answers, default buttons and the JSON log line, the same
// on both builds.
#include "platform/MessageBoxScript.h"

#include "platform/Desktop.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <list>
#include <optional>
#include <string>
#include <vector>

namespace {

using platform::MessageBoxScript;

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
         {{48, platform::kAnswerOk},
          {4 + 32 + 256, platform::kAnswerNo},
          {4, platform::kAnswerYes}}},
        // Words are trimmed, any letter case, taken in order across boxes.
        {" YES , no",
         {{4, platform::kAnswerYes}, {4, platform::kAnswerNo}, {4 + 256, platform::kAnswerNo}}},
        // A word naming no button of the box is used up; the default answers that box.
        {"no,yes", {{48, platform::kAnswerOk}, {4 + 256, platform::kAnswerYes}}},
        // A default button beyond the box's buttons falls back to its last button.
        {"", {{1 + 512, platform::kAnswerCancel}, {3 + 512, platform::kAnswerCancel}}},
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

TEST(MessageBoxScript, RestartTakesTheScriptFromTheFirstAnswer) {
    const ScriptedAnswers answers("no");
    MessageBoxScript script;
    EXPECT_EQ(script.Answer("T", "x", 4).answer, platform::kAnswerNo);
    EXPECT_EQ(script.Answer("T", "x", 4).answer, platform::kAnswerYes);
    script.Restart();
    EXPECT_EQ(script.Answer("T", "x", 4).answer, platform::kAnswerNo);
}

TEST(MessageBoxScript, LogLineAndReadableBlock) {
    const ScriptedAnswers answers("");
    MessageBoxScript script;
    const auto box = script.Answer("Ledgerline", "Unable to open:\r\"C:\\a\\b.ini\"\t\xe9", 48);
    EXPECT_EQ(box.logLine, "{\"title\":\"Ledgerline\",\"style\":48,\"text\":\"Unable to "
                           "open:\\r\\\"C:\\\\a\\\\b.ini\\\"\\t\\u00e9\",\"answer\":\"OK\"}\n");
    EXPECT_EQ(box.readableBlock, "[message box] Ledgerline (exclamation)\n  Unable to open:\n"
                                 "  \"C:\\a\\b.ini\"\t\xe9\n  -> OK\n");
    const auto question = script.Answer("Q", "", 4 + 32 + 256);
    EXPECT_EQ(question.logLine,
              "{\"title\":\"Q\",\"style\":292,\"text\":\"\",\"answer\":\"No\"}\n");
    EXPECT_EQ(question.readableBlock, "[message box] Q (question)\n  \n  -> No\n");
}

} // namespace
