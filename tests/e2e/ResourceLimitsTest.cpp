// ldgrmake and ldgrcheck at the limits of the process (file handles, file size, address
// space): each ends with the error named, never by a signal, a wrong answer or a file left.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace e2e {
namespace {

using testing::HasSubstr;

// A sanitized build's runtime reserves address space far beyond the limits here and opens
// files of its own, which a limit of file handles leaves it no room for.
constexpr bool kSanitized = LDGR_SANITIZED_PROGRAMS;

// One file handle to spare: the run either needs no second one at a time and writes its record
// to the shared job folder, or stops with "Too many files"; never does a refused open send the
// record to the local profile as if the folder could not be read.
TEST(ResourceLimits, FewFileHandlesNeverSendTheRecordElsewhere) {
    LDGR_HOSTED_ONLY("limits the hosted process with a host tool");
    if (kSanitized) {
        GTEST_SKIP() << "the sanitizers' runtime needs file handles of its own";
    }
    HostedWorld world;
    ASSERT_EQ(world.Run().exitCode, 0); // the working copy made, as on every later start
    // Handles the test runner left open are closed first: the program gets only its own three.
    const RunResult run = world.Run(
        "ldgrmake",
        {"bash", "-c",
         "for fd in /proc/$$/fd/*; do fd=${fd##*/}; [ $fd -gt 2 ] && eval \"exec $fd>&-\";"
         " done; exec prlimit --nofile=4 \"$0\""});
    if (run.exitCode == 0) {
        EXPECT_EQ(world.Tree(world.Prefix(), ".prt").size(), 2u);
        EXPECT_EQ(world.FolderNames(world.UserFolder()),
                  (std::vector<std::string>{"1.prt", "2.prt"}));
    } else {
        EXPECT_EQ(run.exitCode, 67);
        EXPECT_THAT(world.MessageBoxLog(), HasSubstr(RunTimeErrorBox(67, "Too many files")));
        EXPECT_EQ(world.Tree(world.Prefix(), ".prt"),
                  std::vector<std::string>{"drive_c/Ledgerline/Data/users/alice/1.prt"});
    }
}

// A working copy larger than the file-size limit: the write fails as on a full disk, the run
// stops with "Disk full", and the copy's temporary is gone.
TEST(ResourceLimits, WritePastTheFileSizeLimitStopsWithError61) {
    LDGR_HOSTED_ONLY("limits the hosted process with a host tool");
    HostedWorld world;
    world.SetGeneralOption("Padding", std::string(36 * 1024, 'p'));
    const RunResult run = world.Run("ldgrmake", {"bash", "-c", "ulimit -f 16; exec \"$0\""});
    EXPECT_EQ(run.exitCode, 61);
    EXPECT_THAT(world.MessageBoxLog(), HasSubstr(RunTimeErrorBox(61, "Disk full")));
    EXPECT_EQ(world.Tree(world.Prefix(), ".tmp"), std::vector<std::string>{});
    EXPECT_EQ(world.Tree(world.Prefix(), ".prt"), std::vector<std::string>{});
}

// ldgrcheck in a small address space checks 300,000 sections (walked one at a time); a section of
// three million entries ends with "Out of memory" and status 1, never an abort.
TEST(ResourceLimits, LdgrcheckOutOfMemoryEndsWithTheErrorNamed) {
    LDGR_HOSTED_ONLY("limits the hosted process with a host tool");
    if (kSanitized) {
        GTEST_SKIP() << "the sanitizers' runtime needs more address space than the limit";
    }
    struct Case {
        const char* name;
        std::string body;
        const char* addressSpace;
        int exitCode;
        std::string output; // how it begins
    };
    std::string sections;
    for (int s = 1; s <= 300000; ++s) {
        sections += "[S" + std::to_string(s) + "]\r\nKey=1\r\n";
    }
    std::string entries = "[Padding]\r\n";
    for (int k = 1; k <= 3000000; ++k) {
        entries += "K" + std::to_string(k) + "=1\r\n";
    }
    const Case cases[] = {
        {.name = "many sections",
         .body = sections,
         .addressSpace = "--as=134217728",
         .exitCode = 0,
         .output = "OK: version 2, "},
        {.name = "one section too large to walk",
         .body = entries,
         .addressSpace = "--as=78643200",
         .exitCode = 1,
         .output = "Run-time error '7':\n\nOut of memory\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostedWorld world;
        const std::string file = world.OnDriveC("Ledgerline\\Config.ini");
        WriteHostFile(file, ReadHostFile(file) + c.body);
        const RunResult run =
            world.RunCommand({"prlimit", c.addressSpace, LDGR_CHECK_EXE, "Z:" + file});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.stderrText;
        EXPECT_TRUE(run.stdoutText.starts_with(c.output)) << run.stdoutText;
    }
}

} // namespace
} // namespace e2e
