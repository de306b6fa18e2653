// Hosted-only: the prefix skeleton, completed at every start without touching what exists, and
// names Windows could never report, refused before it.
#include "ledgerline/platform/posix/Hosted.h"
#include "support/posix/HostedWorld.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace {

namespace fs = std::filesystem;
using ldgr::test::HostedWorld;

class Prefix : public HostedWorld {};

TEST_F(Prefix, NewPrefixGetsTheWholeSkeletonEvenWhereItsParentsAreMissing) {
    const std::string deep = Scratch() + "/a/b/prefix";
    SetVariable("LDGR_PREFIX", deep);
    StartAs(ProgramFolder() + "/ldgrmake");
    EXPECT_EQ(fs::read_symlink(deep + "/dosdevices/c:"), "../drive_c");
    EXPECT_EQ(fs::read_symlink(deep + "/dosdevices/z:"), "/");
    EXPECT_TRUE(fs::is_directory(deep + "/drive_c/windows/system32"));
    EXPECT_TRUE(fs::is_directory(deep + "/drive_c/users/" + platform::posix::ProfileUserName()));
}

TEST_F(Prefix, StartCompletesWhatIsMissingAndTouchesNothingElse) {
    // A prefix arranged by hand: c: elsewhere, system32 gone, a file in windows.
    fs::remove(Host("dosdevices/c:"));
    fs::create_directory_symlink(Scratch(), Host("dosdevices/c:"));
    fs::remove_all(Host("drive_c/windows/system32"));
    WriteHostFile(Host("drive_c/windows/win.ini"), "[windows]\r\n");

    StartAs(ProgramFolder() + "/ldgrmake");

    EXPECT_EQ(fs::read_symlink(Host("dosdevices/c:")), Scratch());
    EXPECT_TRUE(fs::is_directory(Host("drive_c/windows/system32")));
    EXPECT_EQ(ReadHostFile(Host("drive_c/windows/win.ini")), "[windows]\r\n");
    EXPECT_FALSE(HostExists(Scratch() + "/windows")) << "the skeleton went through the c: link";
}

// A name Windows could never report, also one whose characters the code page lacks, or a
// program file name Windows could not hold ends the start with one line, before the prefix is made.
TEST_F(Prefix, UnreportableNamesEndTheStartFirstThing) {
    struct Case {
        const char* variable = "LDGR_USERNAME";
        const char* value = "";
        const char* program = "ldgrmake";
        const char* complaint = "LDGR_USERNAME";
    };
    const Case cases[] = {
        {.value = "../../elsewhere"},
        {.value = "\xE6\x9D\x8E"},
        {.variable = "LDGR_COMPUTERNAME", .value = "...", .complaint = "LDGR_COMPUTERNAME"},
        {.value = "bob", .program = "ldgr?make", .complaint = "the program name"},
    };
    SetVariable("LDGR_PREFIX", Scratch() + "/prefix");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        SetVariable(c.variable, c.value);
        EXPECT_EXIT(StartAs(ProgramFolder() + "/" + c.program), testing::ExitedWithCode(2),
                    std::string("^") + c.complaint + " \"[^\n]*\n$");
        UnsetVariable(c.variable);
    }
    EXPECT_FALSE(HostExists(Scratch() + "/prefix"));
}

// Only names Windows could report pass; the complaint names what is wrong.
TEST(IdentityNames, OnlyNamesWindowsCouldReportPass) {
    using platform::posix::ComputerNameProblem;
    using platform::posix::UserNameProblem;
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"..\\..\\x", "it contains \"\\\"", "it contains \"\\\""},
        {"bob\r\nx", "it contains the control character 0x0D",
         "it contains the control character 0x0D"},
        {"a,b", "it contains \",\"", ""},
        {"..", "it is made only of dots and blanks", "it is made only of dots"},
        {" . ", "it is made only of dots and blanks", ""},
        // A blank user name is what a query may return: start-up makes it "general".
        {"   ", "", ""},
    };
    for (const auto& [name, userProblem, computerProblem] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(UserNameProblem(name), userProblem);
        EXPECT_EQ(ComputerNameProblem(name), computerProblem);
    }
}

} // namespace
