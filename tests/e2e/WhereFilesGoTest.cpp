// Where a run writes: the job folder chosen by options and user name, never the current or program
// folder, no run under a name Windows could never report; its boxes and names in the code page.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Each case sets the user's name and an option (none when nullptr; a null value takes it out),
// and makes the record's folder unless alice's job folder is removed instead. The run writes one
// record (below drive C:) naming a user, none in alice's job folder, and the user's profile
// folder holds the working configuration and a debug log with a line.
struct PlaceCase {
    const char* name;
    const char* userName;
    const char* option;
    const char* value;
    const char* record;
    const char* user;
    const char* logLine = "";
    bool removeUserFolder = false;
};

class RecordPlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(RecordPlace, OneRecordInTheChosenJobFolder) {
    const PlaceCase& c = GetParam();
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
    ASSERT_EQ(world.Run().exitCode, 0);
    const std::vector<std::string> record = Lines(ReadHostFile(drive + c.record));
    ASSERT_EQ(record.size(), 22u);
    EXPECT_EQ(record[6], c.user);
    const std::string profile = drive + "users/" + c.userName + "/LdgrApp";
    EXPECT_TRUE(fs::is_regular_file(profile + "/ldgrmake.ini"));
    EXPECT_NE(ReadHostFile(profile + "/ldgrmake.txt").find(c.logLine), std::string::npos);
    EXPECT_EQ(world.MessageBoxLog(), "");
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_NE(fs::exists(world.UserFolder()), c.removeUserFolder) << "a fallback makes none";
}

const char* const kAliceLocal = "users/alice/LdgrApp/users/alice/1.prt";

INSTANTIATE_TEST_SUITE_P(
    Places, RecordPlace,
    ::testing::Values(PlaceCase{"LocalProfileDataPathIgnoresCaseAndSpaces", "alice", "DataPath",
                                "  local profile  ", kAliceLocal, "alice"},
                      PlaceCase{"MissingDataPathUsesTheConfigurationFolder", "alice", "DataPath",
                                nullptr, "Ledgerline/users/alice/1.prt", "alice",
                                "m_sDataPath = C:\\Ledgerline\\\r\n"},
                      PlaceCase{"UserFolderThatDoesNotExistYetFallsBackToTheLocalFolder", "alice",
                                nullptr, nullptr, kAliceLocal, "alice", "", true},
                      PlaceCase{"LogAllUsersGoesToGeneral", "alice", "LogAllUsers", "TRUE",
                                "Ledgerline/Data/users/general/1.prt", "general"},
                      // Text inside the program is Windows-1252, the host's names UTF-8.
                      PlaceCase{"UserNameInTheCodePage", "j\xC3\xB6rg", nullptr, nullptr,
                                "Ledgerline/Data/users/j\xC3\xB6rg/1.prt", "j\xF6rg",
                                "m_sUserName = j\xF6rg\r\n"}),
    [](const auto& info) { return info.param.name; });

// Windows drops a path component's trailing blanks: the profile of "  bob  " is "  bob". A
// blank name is what a query may return; the records then go to "general".
TEST(WhereFilesGo, UserNamesWithBlanksHaveAWorkingProfileAndJobFolder) {
    LDGR_HOSTED_ONLY("on Windows the names come from the system");
    struct Case {
        const char* userName = "";
        const char* jobUser = "";
        const char* profileCopy = ""; // the working copy, when the profile is the user's own
    };
    const Case cases[] = {
        {.userName = "  bob  ",
         .jobUser = "bob",
         .profileCopy = "users\\  bob\\LdgrApp\\ldgrmake.ini"},
        {.userName = "   ", .jobUser = "general"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.userName + "\"");
        HostedWorld world;
        world.SetEnv("LDGR_USERNAME", c.userName);
        const std::string jobFolder = std::string("Ledgerline\\Data\\users\\") + c.jobUser;
        fs::create_directories(world.OnDriveC(jobFolder));
        const RunResult run = world.Run();
        ASSERT_EQ(run.exitCode, 0) << run.stderrText;
        EXPECT_EQ(world.MessageBoxLog(), "");
        if (*c.profileCopy != '\0') {
            EXPECT_TRUE(fs::is_regular_file(world.OnDriveC(c.profileCopy)));
        }
        const auto record = Lines(ReadHostFile(world.OnDriveC(jobFolder + "\\1.prt")));
        ASSERT_EQ(record.size(), 22u);
        EXPECT_EQ(record[6], c.jobUser);
    }
}

// The box log carries each character once, in UTF-8.
TEST(CodePage, BoxesCarryEachCharacterOnceInUtf8) {
    HostedWorld world;
    world.SetEnv("LDGR_USERNAME", "j\xC3\xB6rg");
    WriteHostFile(world.RegistryFile(), "Windows Registry Editor Version 5.00\r\n");
    world.Run();
    EXPECT_NE(world.MessageBoxLog().find("C:\\\\users\\\\j\xC3\xB6rg\\\\LdgrApp\\\\ldgrmake.ini"),
              std::string::npos)
        << world.MessageBoxLog();
}

// A registry file as regedit writes it (UTF-16LE) naming "C:\Lédger\Config.ini" reaches it.
TEST(CodePage, ConfigurationPathFromAUtf16RegistryReachesItsHostFolder) {
    HostedWorld world;
    WriteHostFile(world.OnDriveC("L\xC3\xA9"
                                 "dger\\Config.ini"),
                  ReadHostFile(world.OnDriveC("Ledgerline\\Config.ini")));
    std::string text = ReadHostFile(world.RegistryFile());
    text.replace(text.find("Ledgerline\\\\Config"), 10,
                 "L\xE9"
                 "dger");
    std::string utf16 = "\xFF\xFE";
    for (const char c : text) {
        utf16 += {c, '\0'};
    }
    WriteHostFile(world.RegistryFile(), utf16);
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(world.MessageBoxLog(), "");
    EXPECT_NE(world.DebugLog().find("config file is C:\\L\xE9"
                                    "dger\\Config.ini\r\n"),
              std::string::npos);
}

// The user's profile is a plain file, so no local folder can be made; the runs start in an
// empty folder of their own.
class NoLocalFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(world.OnDriveC("users\\alice"));
        WriteHostFile(world.OnDriveC("users\\alice"), "not a folder");
        fs::create_directories(Here());
        world.SetWorkingFolder(Here());
    }
    std::string Here() const { return world.Root() + "/here"; }

    HostedWorld world;
};

// Each run reports the folder that could not be made, once; the options still read.
const char* const kLocalPathReport =
    "{\"title\":\"Ledgerline\",\"style\":48,\"text\":\"Unexpected error 76 in procedure "
    "'GetLocalPath':\\rPath not found\\r\\rPlease contact us at\\r1-555-0142 with the above "
    "information.\",\"answer\":\"OK\"}\n";

TEST_F(NoLocalFolder, RecordGoesToTheSharedJobFolderAndNothingToTheCurrentFolder) {
    std::string reports;
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_EQ(world.Run().exitCode, 0);
        EXPECT_TRUE(world.Tree(Here()).empty());
        EXPECT_EQ(world.MessageBoxLog(), reports += kLocalPathReport);
        const std::string name = std::to_string(run);
        const std::vector<std::string> record =
            Lines(ReadHostFile(world.UserFolder() + "/" + name + ".prt"));
        ASSERT_EQ(record.size(), 22u);
        EXPECT_EQ(record[3], " " + name + " ");
    }
    EXPECT_EQ(ReadHostFile(world.OnDriveC("users\\alice")), "not a folder");
    // The service-log probe never creates its file in the program folder.
    EXPECT_EQ(world.Tree(world.Root() + "/bin").size(), 1u) << "only the program itself";
}

TEST_F(NoLocalFolder, WithoutAUsableSharedJobFolderTheRunEndsWithPathNotFound) {
    world.SetGeneralOption("DataPath", "C:\\Missing\\");
    EXPECT_EQ(world.Run().exitCode, 76);
    EXPECT_TRUE(world.Tree(Here()).empty());
    EXPECT_FALSE(fs::exists(world.OnDriveC("Missing")));
}

// Names Windows could never report (the unit tests hold the list) end the run first thing, also
// a name whose characters the code page lacks, and a program file name Windows could not hold.
TEST(UnreportableName, EndsTheRunBeforeAnythingIsWritten) {
    LDGR_HOSTED_ONLY("on Windows the names come from the system");
    struct Case {
        const char* variable = "";
        const char* value = "";
        const char* program = "ldgrmake";
        const char* complaint = "";
    };
    const Case cases[] = {
        {.variable = "LDGR_USERNAME",
         .value = "../../../../elsewhere",
         .complaint = "LDGR_USERNAME"},
        {.variable = "LDGR_COMPUTERNAME", .value = "...", .complaint = "LDGR_COMPUTERNAME"},
        {.variable = "LDGR_USERNAME", .value = "\xE6\x9D\x8E", .complaint = "LDGR_USERNAME"},
        {.program = "ldgr?make", .complaint = "the program name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.variable) + "=" + c.value + " " + c.program);
        HostedWorld world;
        if (*c.variable != '\0') {
            world.SetEnv(c.variable, c.value);
        }
        const std::vector<std::string> before = world.Tree(world.Root());
        const RunResult run = world.Run(c.program);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.stderrText.starts_with(std::string(c.complaint) + " \"")) << run.stderrText;
        EXPECT_EQ(std::count(run.stderrText.begin(), run.stderrText.end(), '\n'), 1);
        std::vector<std::string> after = world.Tree(world.Root());
        std::erase(after, "bin");
        std::erase(after, std::string("bin/") + c.program);
        EXPECT_EQ(after, before);
        EXPECT_FALSE(fs::exists(world.Root() + "/elsewhere"));
    }
}

} // namespace
} // namespace e2e
