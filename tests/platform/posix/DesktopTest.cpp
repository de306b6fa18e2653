// Hosted-only: program identity from argv[0], the system's from the environment, and message
// boxes shown on stderr and logged as JSON lines.
#include "ledgerline/platform/Platform.h"
#include "support/posix/HostedWorld.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace platform;
using HostedProgram = ldgr::test::HostedWorld;

TEST_F(HostedProgram, IdentityComesFromTheInvocationName) {
    MakeHostFolders(Host("drive_c/tools"));
    MakeHostFolders(Scratch() + "/bin");
    WriteHostFile(Scratch() + "/bin/ldgrproc", "");
    fs::permissions(Scratch() + "/bin/ldgrproc", fs::perms::owner_exec, fs::perm_options::add);
    SetVariable("PATH", "/nonexistent:" + Scratch() + "/bin");
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {Host("drive_c/tools/ldgr.setup.exe"), "ldgr.setup", "C:\\tools"},
        {Host("drive_c/ldgrroot.exe"), "ldgrroot", "C:\\"}, // a drive's root keeps its backslash
        {"ldgrproc", "ldgrproc", "\\bin"}, // found on PATH, outside every drive but Z:
    };
    for (const auto& [argv0, exeName, appPath] : cases) {
        SCOPED_TRACE(argv0);
        StartAs(argv0);
        EXPECT_EQ(Ui().ExeName(), exeName);
        EXPECT_TRUE(Ui().AppPath().ends_with(appPath)) << Ui().AppPath();
    }
}

TEST_F(HostedProgram, ProgramFolderIsFixedAtStart) {
    fs::current_path(ProgramFolder());
    StartAs("./ldgrmake");
    fs::current_path(Scratch());
    EXPECT_EQ(Ui().AppPath(), kProgramFolderWindows);
}

// LDGR_OSVERSION gives "major.minor", digits only on both sides; anything else is no version.
TEST_F(HostedProgram, VersionFromTheEnvironment) {
    SetVariable("LDGR_OSVERSION", "4.10");
    EXPECT_EQ(Sys().Version()->minor, 10u);
    for (const char* text : {"10", "10.", "10.0.1", "10.99999999999"}) {
        SetVariable("LDGR_OSVERSION", text);
        EXPECT_FALSE(Sys().Version().has_value()) << text;
    }
}

TEST_F(HostedProgram, NamesThroughABuffer) {
    SetVariable("LDGR_USERNAME", "bob");
    EXPECT_EQ(Sys().SystemFolder(8), "C:\\wind");
    EXPECT_EQ(Sys().UserName(4), "bob");
    EXPECT_EQ(Sys().UserName(3), std::nullopt);
}

TEST_F(HostedProgram, BoxesGoToStderrAndToTheLog) {
    SetVariable("LDGR_MSGBOX_LOG", Scratch() + "/boxes.jsonl");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Ui().ShowMessageBox("Ledgerline", "first\rsecond", kOkOnly + kExclamation),
              kAnswerOk);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "[message box] Ledgerline (exclamation)\n  first\n  second\n  -> OK\n");
    EXPECT_EQ(
        ReadHostFile(Scratch() + "/boxes.jsonl"),
        "{\"title\":\"Ledgerline\",\"style\":48,\"text\":\"first\\rsecond\",\"answer\":\"OK\"}\n");
}

} // namespace
