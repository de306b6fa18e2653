// ldgrmake meeting what is not an ordinary file, links planted in its local folder or a
// read-only shared configuration, and ldgrcheck rewrites that fail part-way: no run waits,
// writes through a link, or leaves a file half-written or stale.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

// A run that waits on a FIFO is killed after ten seconds; one that copies it without end is
// stopped by a file-size limit of a megabyte long before it fills the disk.
const std::vector<std::string> kBounded = {"timeout", "-s",      "KILL",
                                           "10",      "prlimit", "--fsize=1048576"};

// A FIFO at the path or, for the case it must behave like, nothing.
void FifoOrMissing(const std::string& hostPath, bool missing = false) {
    fs::remove(hostPath);
    ASSERT_TRUE(missing || mkfifo(hostPath.c_str(), 0666) == 0) << hostPath;
}

// A FIFO as the shared configuration or the registry, or a device as the configuration: same
// exit status, boxes and profile files as when the file is missing (in the world's own prefix,
// where a faulty run that makes it spoils no other test).
TEST(FileHardening, FifoOrDeviceReadsAsAMissingFile) {
    LDGR_HOSTED_ONLY("the runs are bounded by host tools, which a Wine run does not pass through");
    const std::pair<const char*, std::function<void(const HostedWorld&, bool)>> cases[] = {
        {"configuration",
         [](const HostedWorld& w, bool missing) {
             FifoOrMissing(w.OnDriveC("Ledgerline\\Config.ini"), missing);
         }},
        {"registry",
         [](const HostedWorld& w, bool missing) { FifoOrMissing(w.RegistryFile(), missing); }},
        {"device as the configuration", [](const HostedWorld& w, bool missing) {
             std::string reg = ReadHostFile(w.RegistryFile());
             const std::size_t at = reg.find("C:\\\\Ledgerline");
             reg.replace(at, reg.find('"', at) - at,
                         missing ? "C:\\\\Nowhere\\\\Config.ini" : "Z:\\\\dev\\\\zero");
             WriteHostFile(w.RegistryFile(), reg);
         }}};
    for (const auto& [name, make] : cases) {
        SCOPED_TRACE(name);
        HostedWorld world;
        HostedWorld missing;
        make(world, false);
        make(missing, true);
        const RunResult run = world.Run("ldgrmake", kBounded);
        EXPECT_EQ(run.exitCode, missing.Run("ldgrmake", kBounded).exitCode);
        EXPECT_EQ(world.MessageBoxLog(), missing.MessageBoxLog());
        EXPECT_EQ(world.FolderNames(world.LocalFolder()),
                  missing.FolderNames(missing.LocalFolder()));
    }
}

// Dangling links at the debug log, spool cache and working copy: nothing is made where they point.
TEST(FileHardening, NoFileIsCreatedThroughALinkInTheLocalFolder) {
    LDGR_HOSTED_ONLY("Wine takes a host link to a file for the file itself, never for a link");
    HostedWorld world;
    const std::string outside = world.Root() + "/outside";
    fs::create_directories(outside);
    fs::create_directories(world.LocalFolder());
    for (const char* name : {"ldgrmake.txt", "spldir.txt", "ldgrmake.ini"}) {
        fs::create_symlink(outside + "/" + name, world.LocalFolder() + "/" + name);
    }
    const RunResult run = world.Run();
    EXPECT_EQ(run.exitCode, 0) << run.stderrText;
    EXPECT_TRUE(fs::is_empty(outside));
    EXPECT_TRUE(fs::is_symlink(world.LocalFolder() + "/ldgrmake.txt"));
}

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

// A workstation reads the configuration's folder as an absolute path (a connected drive as its
// share); the entries ldgrcheck fills in from that folder are the same text.
TEST(Ldgrcheck, DefaultsFilledFromTheConfigurationFolderAsAWorkstationReadsIt) {
    LDGR_HOSTED_ONLY("drives the hosted ldgrcheck and a hosted network drive");
    HostedWorld world;
    const std::string share = world.Prefix() + "/dosdevices/unc/srv/share";
    fs::create_directories(share);
    fs::create_symlink(share, world.Prefix() + "/dosdevices/x:");
    WriteHostFile(world.RegistryFile(),
                  "Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Korvane Group\\Ledgerline\\4]\r\n"
                  "\"ConfigFile\"=\"X:\\\\Config.ini\"\r\n\r\n"
                  "[HKEY_CURRENT_USER\\Network\\X]\r\n"
                  "\"RemotePath\"=\"\\\\\\\\SRV\\\\share\"\r\n");
    WriteHostFile(share + "/Config.ini",
                  "[GENERAL]\r\nVersion=1\r\nDataFile=\r\nDataPath=D:\\\r\nFileServers=FS\r\n"
                  "DisableLogging=N\r\nAllowCancel=Y\r\nLogSilent=N\r\nLogAllUsers=N\r\n"
                  "NumCategories=0\r\n");
    const RunResult run =
        world.RunCommand({LDGR_CHECK_EXE, "X:\\Config.ini", "--write", "X:\\New.ini"});
    EXPECT_EQ(run.exitCode, 0) << run.stdoutText << run.stderrText;
    EXPECT_THAT(run.stdoutText,
                HasSubstr("AutoUpdateLocation not in the file: \\\\SRV\\share\\ written"));
}

} // namespace
} // namespace e2e
