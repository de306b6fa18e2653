// ldgrmake with almost no file handles to spare: the run ends with the error named, never by a
// signal, a wrong answer or a file left.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace e2e {
namespace {

using testing::HasSubstr;

// A sanitized build's runtime opens files of its own, for which few file handles leave no room.
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

} // namespace
} // namespace e2e
