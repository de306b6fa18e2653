// Hosted-only: program identity from argv[0], and message boxes shown on stderr, logged as JSON
// lines and answered from the script.
#include "platform/Platform.h"
#include "support/posix/HostedWorld.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace platform;

class HostedDesktop : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        SetVariable("LDGR_MSGBOX_LOG", LogFile());
    }

    std::string LogFile() { return Scratch() + "/boxes.jsonl"; }

    // Shows a box with stderr captured, returns the answer.
    std::int32_t Show(const std::string& text, std::int32_t style,
                      const std::string& title = "Ledgerline") {
        testing::internal::CaptureStderr();
        const std::int32_t answer = Ui().ShowMessageBox(title, text, style);
        m_sStderr = testing::internal::GetCapturedStderr();
        return answer;
    }

    std::string m_sStderr;
};

TEST_F(HostedDesktop, IdentityComesFromTheInvocationName) {
    MakeHostFolders(Host("drive_c/tools"));
    MakeHostFolders(Scratch() + "/bin");
    WriteHostFile(Scratch() + "/bin/ldgrproc", "");
    fs::permissions(Scratch() + "/bin/ldgrproc", fs::perms::owner_exec, fs::perm_options::add);
    SetVariable("PATH", "/nonexistent:" + Scratch() + "/bin");
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {Host("drive_c/ldgrsrvc.exe"), "ldgrsrvc", "C:\\"},
        {Host("drive_c/tools/ldgr.setup.exe"), "ldgr.setup", "C:\\tools"},
        {"ldgrproc", "ldgrproc", "\\bin"}, // found on PATH, outside every drive but Z:
    };
    for (const auto& [argv0, exeName, appPath] : cases) {
        SCOPED_TRACE(argv0);
        StartAs(argv0);
        EXPECT_EQ(Ui().ExeName(), exeName);
        EXPECT_TRUE(Ui().AppPath().ends_with(appPath)) << Ui().AppPath();
    }
}

TEST_F(HostedDesktop, ProgramFolderIsFixedAtStart) {
    fs::current_path(ProgramFolder());
    StartAs("./ldgrmake");
    fs::current_path(Scratch());
    EXPECT_EQ(Ui().AppPath(), kProgramFolderWindows);
}

TEST_F(HostedDesktop, StartForgetsTheTitleAndTheAnswersUsed) {
    SetVariable("LDGR_MSGBOX_ANSWERS", "no");
    EXPECT_EQ(Ui().Title(), "ldgrmake");
    Ui().SetTitle("Log Offline Job");
    EXPECT_EQ(Ui().Title(), "Log Offline Job");
    EXPECT_EQ(Show("?", kYesNo), kAnswerNo);
    StartAs(ProgramFolder() + "/ldgrmake");
    EXPECT_EQ(Ui().Title(), "ldgrmake");
    EXPECT_EQ(Show("?", kYesNo), kAnswerNo);
}

// Each box is shown on stderr and appended to the log as one line; a log that cannot be
// written is pointed out; without a log the box is only shown.
TEST_F(HostedDesktop, BoxesGoToStderrAndToTheLog) {
    Show("first\rsecond", kOkOnly + kExclamation);
    EXPECT_EQ(m_sStderr, "[message box] Ledgerline (exclamation)\n  first\n  second\n  -> OK\n");
    Show("Stop", kCritical, "Ledger");
    EXPECT_EQ(
        ReadHostFile(LogFile()),
        "{\"title\":\"Ledgerline\",\"style\":48,\"text\":\"first\\rsecond\",\"answer\":\"OK\"}\n"
        "{\"title\":\"Ledger\",\"style\":16,\"text\":\"Stop\",\"answer\":\"OK\"}\n");
    SetVariable("LDGR_MSGBOX_LOG", Scratch() + "/missing/boxes.jsonl");
    EXPECT_EQ(Show("a", kOkOnly), kAnswerOk);
    EXPECT_NE(m_sStderr.find(Scratch() + "/missing/boxes.jsonl"), std::string::npos) << m_sStderr;
    UnsetVariable("LDGR_MSGBOX_LOG");
    Show("a", kOkOnly);
    EXPECT_EQ(m_sStderr, "[message box] Ledgerline (no icon)\n  a\n  -> OK\n");
}

} // namespace
