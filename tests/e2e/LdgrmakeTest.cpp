// ldgrmake run for real in temporary hosted prefixes: the record, the numbering, the debug
// log, the data folder rules, the program identity and the spool cache.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace e2e {
namespace {

const char* const kExpectedRecord =
    "reserved\r\nreserved\r\n\\\\PC17\r\n 1 \r\nOffline Job\r\nunavailable\r\nalice\r\n"
    "Offline Job\r\nUnknown\r\n03/01/2026 1:05:03 PM\r\n1000\r\nPending\r\nPending\r\n"
    "Pending\r\nPending\r\nPending\r\nPending\r\n\r\nPending\r\nOffline Job\r\nPending\r\n"
    "Not Applicable\r\n";

TEST(Ldgrmake, WritesTheRecordByteForByte) {
    HostedWorld world;
    const RunResult run = world.Run();
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    EXPECT_EQ(world.ReadFile(world.UserFolder() + "/1.prt"), kExpectedRecord);
    EXPECT_EQ(world.FolderNames(world.UserFolder()), std::vector<std::string>{"1.prt"});
    EXPECT_EQ(run.stderrText, "");
}

struct NumberingCase {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    const char* expected;
};

class JobNumbering : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(JobNumbering, TakesTheLowestFreeNumber) {
    HostedWorld world;
    for (const std::string& file : GetParam().files) {
        world.WriteFile(world.UserFolder() + "/" + file, "job");
    }
    for (const std::string& folder : GetParam().folders) {
        world.MakeFolder(world.UserFolder() + "/" + folder);
    }
    ASSERT_EQ(world.Run().exitCode, 0);
    const std::string record = world.ReadFile(world.UserFolder() + "/" + GetParam().expected);
    ASSERT_FALSE(record.empty());
    const std::string number(GetParam().expected, std::string(GetParam().expected).find('.'));
    EXPECT_EQ(Lines(record)[3], " " + number + " ");
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, JobNumbering,
    ::testing::Values(NumberingCase{"Empty", {}, {}, "1.prt"},
                      NumberingCase{"DatLeavesGap", {"1.prt", "3.dat"}, {}, "2.prt"},
                      NumberingCase{"MixedKinds", {"1.prt", "2.dat", "4.prt"}, {}, "3.prt"},
                      NumberingCase{"CaseIgnored", {"1.PRT", "2.Dat"}, {}, "3.prt"},
                      NumberingCase{"LeadingZeroIsNotAJob", {"01.prt", "1.txt"}, {}, "1.prt"},
                      // A folder is not a job, but the record cannot replace it either.
                      NumberingCase{"FolderDoesNotCount", {"1.prt"}, {"5.prt", "2.prt"}, "3.prt"},
                      NumberingCase{"HiddenDoesNotCount", {".1.prt", ".2.dat"}, {}, "1.prt"}),
    [](const auto& info) { return info.param.name; });

TEST(Ldgrmake, DebugLogHoldsTheSeventeenStartupLinesInOrder) {
    HostedWorld world;
    world.SetGeneralOption("DebugLog", "False"); // start-up logs everything before reading it
    ASSERT_EQ(world.Run().exitCode, 0);
    const std::vector<std::string> lines = Lines(world.DebugLog());
    const std::string local = "C:\\users\\alice\\LdgrApp\\";
    const std::vector<std::string> expected = {
        "ldgrmake: m_sLocalUserPath = " + local,
        "ldgrmake: raw orignal config file is C:\\Ledgerline\\Config.ini",
        "ldgrmake: absolute orignal config file is C:\\Ledgerline\\Config.ini",
        "ldgrmake: m_sUserName = alice",
        "ldgrmake: raw m_sDataFile is C:\\Ledgerline\\Data\\ledger.mdb",
        "ldgrmake: absolute m_sDataFile is C:\\Ledgerline\\Data\\ledger.mdb",
        "ldgrmake:  m_sUserPathLetter = C:\\Ledgerline\\Data\\users\\alice",
        "ldgrmake: m_sDataPath = C:\\Ledgerline\\Data\\",
        "ldgrmake: m_sconfigfile = " + local + "ldgrmake.ini",
        "ldgrmake: original config security is writelistreadfor C:\\Ledgerline\\Config.ini",
        "ldgrmake: dataPATH security is writelistreaddelete",
        "ldgrmake: m_sUserPath = C:\\Ledgerline\\Data\\users\\alice",
        "ldgrmake: m_sMachineName = PC17",
        "ldgrmake: m_sMachinePath = C:\\Ledgerline\\Data\\Machines\\PC17",
        "ldgrmake: m_sSpoolPath = C:\\windows\\system32\\spool\\PRINTERS",
        "ldgrmake: m_sSpoolIndex = " + local + "PC171.idx",
        "ldgrmake: m_sLoggingMachine is PC17",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(world.ReadFile(world.LocalFolder() + "/ldgrmake.ini"),
              world.ReadFile(world.OnDriveC("Ledgerline\\Config.ini")));
}

TEST(Ldgrmake, LocalProfileDataPathIgnoresCaseAndSpaces) {
    HostedWorld world;
    world.SetGeneralOption("DataPath", "  local profile  ");
    world.MakeFolder(world.LocalFolder() + "/users/alice");
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_FALSE(world.ReadFile(world.LocalFolder() + "/users/alice/1.prt").empty());
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
}

TEST(Ldgrmake, MissingDataPathUsesTheConfigurationFolder) {
    HostedWorld world;
    world.RemoveGeneralOption("DataPath");
    world.MakeFolder(world.OnDriveC("Ledgerline\\users\\alice"));
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_FALSE(world.ReadFile(world.OnDriveC("Ledgerline\\users\\alice\\1.prt")).empty());
    EXPECT_NE(world.DebugLog().find("m_sDataPath = C:\\Ledgerline\\\r\n"), std::string::npos);
}

TEST(Ldgrmake, UserFolderThatDoesNotExistYetFallsBackToTheLocalFolder) {
    HostedWorld world;
    std::filesystem::remove(world.UserFolder());
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_FALSE(world.ReadFile(world.LocalFolder() + "/users/alice/1.prt").empty());
    EXPECT_FALSE(std::filesystem::exists(world.UserFolder()));
}

// Root ignores permission bits, so the probe must meet the folder as an ordinary user.
TEST(Ldgrmake, DataFolderWithoutRightsFallsBackToTheLocalFolder) {
    if (UnderWine()) {
        GTEST_SKIP() << "hosted build only: Wine runs as the owner of its prefix, so the "
                        "program cannot meet the folder as another user";
    }
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "needs root and setpriv to run the program as an unprivileged user";
    }
    HostedWorld world;
    ASSERT_EQ(world.Run().exitCode, 0); // builds the prefix skeleton
    std::filesystem::remove(world.UserFolder() + "/1.prt");
    world.OpenUp(std::filesystem::perms::all);
    std::filesystem::permissions(world.UserFolder(), std::filesystem::perms::owner_read |
                                                         std::filesystem::perms::owner_exec |
                                                         std::filesystem::perms::others_read |
                                                         std::filesystem::perms::others_exec);
    const RunResult run =
        world.Run("ldgrmake", {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_FALSE(world.ReadFile(world.LocalFolder() + "/users/alice/1.prt").empty());
    EXPECT_NE(world.DebugLog().find("dataPATH security is delete\r\n"), std::string::npos);
}

struct UserCase {
    const char* name;
    const char* userName;
    const char* logAllUsers;
};

class GeneralUser : public ::testing::TestWithParam<UserCase> {};

TEST_P(GeneralUser, RecordsGoToGeneral) {
    if (UnderWine() && std::string(GetParam().userName).empty()) {
        GTEST_SKIP() << "hosted build only: a Windows logon always has a user name";
    }
    HostedWorld world;
    world.SetEnv("LDGR_USERNAME", GetParam().userName);
    world.SetGeneralOption("LogAllUsers", GetParam().logAllUsers);
    world.MakeFolder(world.OnDriveC("Ledgerline\\Data\\users\\general"));
    ASSERT_EQ(world.Run().exitCode, 0);
    const std::string record =
        world.ReadFile(world.OnDriveC("Ledgerline\\Data\\users\\general\\1.prt"));
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(Lines(record)[6], "general");
}

INSTANTIATE_TEST_SUITE_P(Users, GeneralUser,
                         ::testing::Values(UserCase{"LogAllUsers", "alice", "TRUE"},
                                           UserCase{"EmptyUserName", "", "0"}),
                         [](const auto& info) { return info.param.name; });

TEST(Ldgrmake, ProcessorWithNothingToDisplayEndsDuringStartup) {
    HostedWorld world;
    const RunResult run = world.Run("ldgrproc");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_EQ(Lines(world.DebugLog("ldgrproc")).size(), 11u); // up to the user folder's probe
}

TEST(Ldgrmake, UpperCaseProcessorNameIsNotTheProcessor) {
    HostedWorld world;
    ASSERT_EQ(world.Run("LDGRPROC").exitCode, 0);
    EXPECT_FALSE(world.ReadFile(world.UserFolder() + "/1.prt").empty());
    EXPECT_NE(world.DebugLog("LDGRPROC").find("PC171.idx"), std::string::npos);
}

TEST(Ldgrmake, MaintenanceProgramHasNoJobFolderAndWritesNothing) {
    HostedWorld world;
    const RunResult run = world.Run("ldgrmaint");
    EXPECT_EQ(run.exitCode, 76);
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_NE(world.MessageBoxLog().find("\"text\":\"Run-time error '76':\\r\\rPath not found\""),
              std::string::npos)
        << world.MessageBoxLog();
}

TEST(Ldgrmake, SpoolFolderFromTheRegistryIsCached) {
    HostedWorld world;
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(world.ReadFile(world.LocalFolder() + "/spldir.txt"),
              "C:\\windows\\system32\\spool\\PRINTERS\r\n");
}

TEST(Ldgrmake, SpoolFolderFromTheCacheWhenTheRegistryHasNone) {
    HostedWorld world;
    world.WriteFile(world.Prefix() + "/registry.reg",
                    "Windows Registry Editor Version 5.00\r\n\r\n"
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Korvane Group\\Ledgerline\\4]\r\n"
                    "\"ConfigFile\"=\"C:\\\\Ledgerline\\\\Config.ini\"\r\n");
    world.WriteFile(world.LocalFolder() + "/spldir.txt", "  D:\\Spool\\Jobs,second field\r\n");
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_NE(world.DebugLog().find("m_sSpoolPath = D:\\Spool\\Jobs\r\n"), std::string::npos);
}

} // namespace
} // namespace e2e
