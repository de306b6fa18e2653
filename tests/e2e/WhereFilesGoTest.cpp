// Where a run writes: nothing in the current folder when a folder comes out empty, nothing in
// the program folder, and no run at all under a name Windows could never report.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;

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

// Windows drops a path component's trailing blanks: the profile of "  bob  " is "  bob".
TEST(WhereFilesGo, UserNameWithSurroundingBlanksHasAWorkingProfile) {
    if (UnderWine()) {
        GTEST_SKIP() << "hosted build only: on Windows the names come from the system";
    }
    HostedWorld world;
    world.SetEnv("LDGR_USERNAME", "  bob  ");
    world.MakeFolder(world.OnDriveC("Ledgerline\\Data\\users\\bob"));
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(world.MessageBoxLog(), "");
    EXPECT_TRUE(fs::is_regular_file(world.OnDriveC("users\\  bob\\LdgrApp\\ldgrmake.ini")));
    const std::vector<std::string> record =
        Lines(world.ReadFile(world.OnDriveC("Ledgerline\\Data\\users\\bob\\1.prt")));
    ASSERT_EQ(record.size(), 22u);
    EXPECT_EQ(record[6], "bob");
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
