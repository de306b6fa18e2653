// Where a run writes: the job folder the options and the user's name choose, nothing in the
// current folder when a folder comes out empty, nothing in the program folder, and no run at
// all under a name Windows could never report.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;

// Each case sets the user's name and an option (none when nullptr; a null value takes it out),
// and makes a folder (below drive C:). The run writes one record (below drive C:) naming a user,
// none in alice's job folder, and its profile folder (when the host's login does not decide it)
// holds the working configuration and a debug log with a line.
struct PlaceCase {
    const char* name;
    const char* userName;
    const char* option;
    const char* value;
    const char* folder;
    const char* record;
    const char* user;
    const char* profile;
    const char* logLine = "";
    bool removeUserFolder = false;
    bool hostedOnly = false; // on Windows the names come from the system
};

class RecordPlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(RecordPlace, OneRecordInTheChosenJobFolder) {
    const PlaceCase& c = GetParam();
    if (UnderWine() && c.hostedOnly) {
        GTEST_SKIP() << "hosted build only: on Windows the names come from the system";
    }
    HostedWorld world;
    world.SetEnv("LDGR_USERNAME", c.userName);
    if (c.option != nullptr) {
        world.SetGeneralOption(c.option,
                               c.value ? std::optional<std::string>(c.value) : std::nullopt);
    }
    world.MakeFolder(world.OnDriveC(c.folder));
    if (c.removeUserFolder) {
        fs::remove(world.UserFolder());
    }
    ASSERT_EQ(world.Run().exitCode, 0);
    const std::string drive = world.Prefix() + "/drive_c/";
    const std::vector<std::string> record = Lines(world.ReadFile(drive + c.record));
    ASSERT_EQ(record.size(), 22u);
    EXPECT_EQ(record[6], c.user);
    if (c.profile != nullptr) {
        EXPECT_TRUE(fs::is_regular_file(drive + c.profile + "/ldgrmake.ini"));
        EXPECT_NE(world.ReadFile(drive + c.profile + "/ldgrmake.txt").find(c.logLine),
                  std::string::npos);
    }
    EXPECT_EQ(world.MessageBoxLog(), "");
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_NE(fs::exists(world.UserFolder()), c.removeUserFolder) << "a fallback makes none";
}

const char* const kAlice = "users/alice/LdgrApp";
const char* const kAliceLocal = "users/alice/LdgrApp/users/alice/1.prt";
const char* const kGeneral = "Ledgerline/Data/users/general/1.prt";

INSTANTIATE_TEST_SUITE_P(
    Places, RecordPlace,
    ::testing::Values(
        PlaceCase{"LocalProfileDataPathIgnoresCaseAndSpaces", "alice", "DataPath",
                  "  local profile  ", "users\\alice\\LdgrApp\\users\\alice", kAliceLocal, "alice",
                  kAlice},
        PlaceCase{"MissingDataPathUsesTheConfigurationFolder", "alice", "DataPath", nullptr,
                  "Ledgerline\\users\\alice", "Ledgerline/users/alice/1.prt", "alice", kAlice,
                  "m_sDataPath = C:\\Ledgerline\\\r\n"},
        PlaceCase{"UserFolderThatDoesNotExistYetFallsBackToTheLocalFolder", "alice", nullptr,
                  nullptr, "", kAliceLocal, "alice", kAlice, "", true},
        PlaceCase{"LogAllUsersGoesToGeneral", "alice", "LogAllUsers", "TRUE",
                  "Ledgerline\\Data\\users\\general", kGeneral, "general", kAlice},
        PlaceCase{"EmptyUserNameGoesToGeneral", "", "LogAllUsers", "0",
                  "Ledgerline\\Data\\users\\general", kGeneral, "general", nullptr, "", false,
                  true},
        // Windows drops a path component's trailing blanks: the profile of "  bob  " is "  bob".
        PlaceCase{"UserNameWithSurroundingBlanks", "  bob  ", nullptr, nullptr,
                  "Ledgerline\\Data\\users\\bob", "Ledgerline/Data/users/bob/1.prt", "bob",
                  "users/  bob/LdgrApp", "", false, true},
        // Text inside the program is Windows-1252, the host's names UTF-8.
        PlaceCase{"UserNameInTheCodePage", "j\xC3\xB6rg", nullptr, nullptr,
                  "Ledgerline\\Data\\users\\j\xC3\xB6rg", "Ledgerline/Data/users/j\xC3\xB6rg/1.prt",
                  "j\xF6rg", "users/j\xC3\xB6rg/LdgrApp", "m_sUserName = j\xF6rg\r\n"}),
    [](const auto& info) { return info.param.name; });

std::size_t BoxCount(const HostedWorld& world) {
    const std::string log = world.MessageBoxLog();
    return static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
}

// The user's profile is a plain file, so no local folder can be made; the runs start in an
// empty folder of their own.
class NoLocalFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(world.OnDriveC("users\\alice"));
        world.WriteFile(world.OnDriveC("users\\alice"), "not a folder");
        world.MakeFolder(Here());
        world.SetWorkingFolder(Here());
    }
    std::string Here() const { return world.Root() + "/here"; }

    HostedWorld world;
};

TEST_F(NoLocalFolder, RecordGoesToTheSharedJobFolderAndNothingToTheCurrentFolder) {
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const std::size_t boxesBefore = BoxCount(world);
        ASSERT_EQ(world.Run().exitCode, 0);
        EXPECT_TRUE(world.Tree(Here()).empty());
        // The one report of the folder that could not be made; the options still read.
        EXPECT_EQ(BoxCount(world), boxesBefore + 1) << world.MessageBoxLog();
        EXPECT_EQ(world.MessageBoxLog().find("Unable to open"), std::string::npos);
        const std::string name = std::to_string(run);
        const std::vector<std::string> record =
            Lines(world.ReadFile(world.UserFolder() + "/" + name + ".prt"));
        ASSERT_EQ(record.size(), 22u);
        EXPECT_EQ(record[3], " " + name + " ");
    }
    EXPECT_EQ(world.ReadFile(world.OnDriveC("users\\alice")), "not a folder");
    // The service-log probe never creates its file in the program folder.
    EXPECT_EQ(world.Tree(world.Root() + "/bin").size(), 1u) << "only the program itself";
}

TEST_F(NoLocalFolder, WithoutAUsableSharedJobFolderTheRunEndsWithPathNotFound) {
    world.SetGeneralOption("DataPath", "C:\\Missing\\");
    EXPECT_EQ(world.Run().exitCode, 76);
    EXPECT_TRUE(world.Tree(Here()).empty());
    EXPECT_FALSE(fs::exists(world.OnDriveC("Missing")));
}

struct NameCase {
    const char* name;
    const char* variable;
    const char* value;
};

class UnreportableName : public ::testing::TestWithParam<NameCase> {};

TEST_P(UnreportableName, EndsTheRunBeforeAnythingIsWritten) {
    if (UnderWine()) {
        GTEST_SKIP() << "hosted build only: on Windows the names come from the system";
    }
    HostedWorld world;
    world.SetEnv(GetParam().variable, GetParam().value);
    const std::vector<std::string> before = world.Tree(world.Root());
    const RunResult run = world.Run();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.stderrText.starts_with(std::string(GetParam().variable) + " \""))
        << run.stderrText;
    EXPECT_EQ(std::count(run.stderrText.begin(), run.stderrText.end(), '\n'), 1);
    std::vector<std::string> after = world.Tree(world.Root());
    std::erase(after, "bin");
    std::erase(after, "bin/ldgrmake");
    EXPECT_EQ(after, before);
    EXPECT_FALSE(fs::exists(world.Root() + "/elsewhere"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, UnreportableName,
    ::testing::Values(NameCase{"UserOutsideThePrefix", "LDGR_USERNAME", "../../../../elsewhere"},
                      NameCase{"UserDataFolder", "LDGR_USERNAME", ".."},
                      NameCase{"UserBackslashes", "LDGR_USERNAME", "..\\..\\x"},
                      NameCase{"UserLineBreak", "LDGR_USERNAME", "bob\r\nx"},
                      NameCase{"UserBlank", "LDGR_USERNAME", "   "},
                      NameCase{"ComputerBackslashes", "LDGR_COMPUTERNAME", "..\\..\\x"},
                      NameCase{"ComputerLineBreak", "LDGR_COMPUTERNAME", "PC\r\n17"},
                      NameCase{"ComputerDots", "LDGR_COMPUTERNAME", "..."}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace e2e
