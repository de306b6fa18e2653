// Where a run writes: the job folder chosen by options and user name, never the current or program
// folder; names in the code page.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;

// Each case names the user and sets an option (a null value takes it out), and makes the
// record's folder unless alice's job folder is removed instead. The run writes one record
// (below drive C:) naming a user, none in alice's job folder, and the user's profile holds the
// working configuration and a debug log with a line.
TEST(WhereFilesGo, OneRecordInTheChosenJobFolder) {
    struct Case {
        const char* name = "";
        const char* userName = "alice";
        const char* option = nullptr;
        const char* value = nullptr;
        const char* record = "users/alice/LdgrApp/users/alice/1.prt";
        const char* user = "alice";
        const char* profile = "users/alice"; // nullptr: not the user name's
        const char* logLine = "";
        bool removeUserFolder = false;
        bool hostedOnly = false; // on Windows the names come from the system
    };
    const Case cases[] = {
        {.name = "local profile as the data path, in any case and spacing",
         .option = "DataPath",
         .value = "  local profile  "},
        {.name = "no data path: the configuration's folder",
         .option = "DataPath",
         .record = "Ledgerline/users/alice/1.prt",
         .logLine = "m_sDataPath = C:\\Ledgerline\\\r\n"},
        {.name = "a job folder not there yet: the local folder", .removeUserFolder = true},
        {.name = "all users logged as general",
         .option = "LogAllUsers",
         .value = "TRUE",
         .record = "Ledgerline/Data/users/general/1.prt",
         .user = "general"},
        // Text inside the program is Windows-1252, the host's names UTF-8.
        {.name = "user name in the code page",
         .userName = "j\xC3\xB6rg",
         .record = "Ledgerline/Data/users/j\xC3\xB6rg/1.prt",
         .user = "j\xF6rg",
         .profile = "users/j\xC3\xB6rg",
         .logLine = "m_sUserName = j\xF6rg\r\n"},
        // What a query may return; the profile is then the login name's.
        {.name = "blank user name",
         .userName = "   ",
         .record = "Ledgerline/Data/users/general/1.prt",
         .user = "general",
         .profile = nullptr,
         .hostedOnly = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.hostedOnly && UnderWine()) {
            continue;
        }
        HostedWorld world;
        world.SetEnv("LDGR_USERNAME", c.userName);
        if (c.option != nullptr) {
            world.SetGeneralOption(c.option,
                                   c.value ? std::optional<std::string>(c.value) : std::nullopt);
        }
        const std::string drive = world.Prefix() + "/drive_c/";
        if (c.removeUserFolder) {
            fs::remove(world.UserFolder());
        } else {
            fs::create_directories(fs::path(drive + c.record).parent_path());
        }
        const RunResult run = world.Run();
        ASSERT_EQ(run.exitCode, 0) << run.stderrText;
        const std::vector<std::string> record = Lines(ReadHostFile(drive + c.record));
        ASSERT_EQ(record.size(), 22u);
        EXPECT_EQ(record[6], c.user);
        if (c.profile != nullptr) {
            const std::string local = drive + c.profile + "/LdgrApp";
            EXPECT_TRUE(fs::is_regular_file(local + "/ldgrmake.ini"));
            EXPECT_THAT(ReadHostFile(local + "/ldgrmake.txt"), HasSubstr(c.logLine));
        }
        EXPECT_EQ(world.MessageBoxLog(), "");
        EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
        EXPECT_NE(fs::exists(world.UserFolder()), c.removeUserFolder) << "a fallback makes none";
    }
}

// The user's profile is a plain file, so no local folder can be made; the runs start in an
// empty folder of their own. Each run reports that folder once, reads the options still and
// writes its record to the shared job folder; without one it ends with path not found.
TEST(WhereFilesGo, WithoutALocalFolderNothingGoesToTheCurrentFolder) {
    HostedWorld world;
    fs::remove_all(world.OnDriveC("users\\alice"));
    WriteHostFile(world.OnDriveC("users\\alice"), "not a folder");
    const std::string here = world.Root() + "/here";
    fs::create_directories(here);
    world.SetWorkingFolder(here);
    std::string reports;
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_EQ(world.Run().exitCode, 0);
        EXPECT_TRUE(world.Tree(here).empty());
        EXPECT_EQ(world.MessageBoxLog(),
                  reports +=
                  "{\"title\":\"Ledgerline\",\"style\":48,\"text\":\"Unexpected error "
                  "76 in procedure 'GetLocalPath':\\rPath not found\\r\\rPlease contact "
                  "us at\\r1-555-0142 with the above information.\",\"answer\":\"OK\"}\n");
        const std::string name = std::to_string(run);
        const std::vector<std::string> record =
            Lines(ReadHostFile(world.UserFolder() + "/" + name + ".prt"));
        ASSERT_EQ(record.size(), 22u);
        EXPECT_EQ(record[3], " " + name + " ");
    }
    EXPECT_EQ(ReadHostFile(world.OnDriveC("users\\alice")), "not a folder");

    world.SetGeneralOption("DataPath", "C:\\Missing\\");
    EXPECT_EQ(world.Run().exitCode, 76);
    EXPECT_TRUE(world.Tree(here).empty());
    EXPECT_FALSE(fs::exists(world.OnDriveC("Missing")));
}

} // namespace
} // namespace e2e
