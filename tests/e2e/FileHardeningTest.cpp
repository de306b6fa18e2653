// ldgrmake meeting a read-only shared configuration, and ldgrcheck rewrites that fail part-way:
// no run leaves a file half-written or stale.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

// The working copy follows the shared file, also one administrators made read-only; a copy that
// holds the shared file's bytes already is left as it is, one changed behind the program's back
// (even to the same size and time stamp) is refreshed.
TEST(FileHardening, WorkingCopyFollowsTheSharedFileAndIsRewrittenOnlyWhenItDiffers) {
    HostedWorld world;
    const std::string shared = world.OnDriveC("Ledgerline\\Config.ini");
    const std::string copy = world.LocalFolder() + "/ldgrmake.ini";
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    const auto fileNumber = [&] {
        struct stat info {};
        return stat(copy.c_str(), &info) == 0 ? info.st_ino : 0;
    };
    fs::permissions(shared, readOnly);
    ASSERT_EQ(world.Run().exitCode, 0);
    const ino_t first = fileNumber();
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(fileNumber(), first) << "an unchanged copy is not rewritten";

    fs::permissions(shared, fs::perms::owner_write, fs::perm_options::add);
    world.SetGeneralOption("UserLimit", "250");
    fs::permissions(shared, readOnly);
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(ReadHostFile(copy), ReadHostFile(shared));

    std::string changed = ReadHostFile(copy);
    changed.back() = changed.back() == 'x' ? 'y' : 'x';
    const auto stamp = fs::last_write_time(copy);
    fs::permissions(copy, fs::perms::owner_write, fs::perm_options::add);
    WriteHostFile(copy, changed);
    fs::last_write_time(copy, stamp);
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(ReadHostFile(copy), ReadHostFile(shared));
}

// A rewrite in place that fails part-way, at a file-size limit below the new file's size,
// leaves the old file byte for byte and no temporary beside it.
TEST(Ldgrcheck, FailedRewriteLeavesTheFileAsItWas) {
    LDGR_HOSTED_ONLY("drives the hosted ldgrcheck with host tools");
    HostedWorld world;
    const std::string file = world.Root() + "/work/a.ini";
    // Values are read up to 2,047 characters: four long ones make a file over the limit.
    const std::string value(2000, 'v');
    const std::string original = "[GENERAL]\r\nVersion=1\r\nDataFile=" + value +
                                 "\r\nFileServers=" + value + "\r\nDataPath=" + value +
                                 "\r\nAutoUpdateLocation=" + value +
                                 "\r\nDisableLogging=N\r\nAllowCancel=Y\r\nLogSilent=N\r\n"
                                 "LogAllUsers=N\r\nNumCategories=0\r\n";
    WriteHostFile(file, original);
    const RunResult run =
        world.RunCommand({"bash", "-c", "trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\"",
                          LDGR_CHECK_EXE, "Z:" + file, "--write", "Z:" + file});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.stdoutText, HasSubstr("Unexpected error 61"));
    EXPECT_EQ(ReadHostFile(file), original);
    EXPECT_EQ(world.FolderNames(world.Root() + "/work"), std::vector<std::string>{"a.ini"});
}

} // namespace
} // namespace e2e
