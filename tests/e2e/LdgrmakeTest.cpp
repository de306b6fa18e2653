// ldgrmake run for real in temporary hosted prefixes: the record, the numbering, the debug
// log, the data folder rules, the program identity and the spool cache.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;

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
    int expected;
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
    const std::string number = std::to_string(GetParam().expected);
    const std::vector<std::string> record =
        Lines(world.ReadFile(world.UserFolder() + "/" + number + ".prt"));
    ASSERT_EQ(record.size(), 22u);
    EXPECT_EQ(record[3], " " + number + " ");
}

INSTANTIATE_TEST_SUITE_P(
    Gaps, JobNumbering,
    ::testing::Values(NumberingCase{"DatLeavesGap", {"1.prt", "3.dat"}, {}, 2},
                      NumberingCase{"MixedKinds", {"1.prt", "2.dat", "4.prt"}, {}, 3},
                      NumberingCase{"CaseIgnored", {"1.PRT", "2.Dat"}, {}, 3},
                      NumberingCase{"LeadingZeroIsNotAJob", {"01.prt", "1.txt"}, {}, 1},
                      // A folder is not a job, but the record cannot replace it either.
                      NumberingCase{"FolderDoesNotCount", {"1.prt"}, {"5.prt", "2.prt"}, 3},
                      NumberingCase{"HiddenDoesNotCount", {".1.prt", ".2.dat"}, {}, 1}),
    [](const auto& info) { return info.param.name; });

TEST(Ldgrmake, DebugLogHoldsTheSeventeenStartupLinesInOrder) {
    HostedWorld world;
    world.SetGeneralOption("DebugLog", "False"); // start-up logs everything before reading it
    ASSERT_EQ(world.Run().exitCode, 0);
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
    EXPECT_EQ(Lines(world.DebugLog()), expected);
    EXPECT_EQ(world.ReadFile(world.LocalFolder() + "/ldgrmake.ini"),
              world.ReadFile(world.OnDriveC("Ledgerline\\Config.ini")));
}

// Root ignores permission bits, so the probe must meet the folder as an ordinary user.
TEST(Ldgrmake, DataFolderWithoutRightsFallsBackToTheLocalFolder) {
    if (UnderWine()) {
        GTEST_SKIP() << "hosted build only: Wine runs as the owner of its prefix";
    }
    if (geteuid() != 0 || access("/usr/bin/setpriv", X_OK) != 0) {
        GTEST_SKIP() << "needs root and setpriv to run the program as an unprivileged user";
    }
    HostedWorld world;
    ASSERT_EQ(world.Run().exitCode, 0); // builds the prefix skeleton
    fs::remove(world.UserFolder() + "/1.prt");
    world.OpenUp(fs::perms::all);
    fs::permissions(world.UserFolder(), static_cast<fs::perms>(0505));
    const RunResult run =
        world.Run("ldgrmake", {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_FALSE(world.ReadFile(world.LocalFolder() + "/users/alice/1.prt").empty());
    EXPECT_NE(world.DebugLog().find("dataPATH security is delete\r\n"), std::string::npos);
}

TEST(Ldgrmake, ProcessorWithNothingToDisplayEndsDuringStartup) {
    HostedWorld world;
    EXPECT_EQ(world.Run("ldgrproc").exitCode, 0);
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
    EXPECT_EQ(world.Run("ldgrmaint").exitCode, 76);
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_NE(world.MessageBoxLog().find("\"text\":\"Run-time error '76':\\r\\rPath not found\""),
              std::string::npos)
        << world.MessageBoxLog();
}

// The spool folder of the registry is cached for the runs whose registry has none.
TEST(Ldgrmake, SpoolFolderIsCachedForRunsWhoseRegistryHasNone) {
    HostedWorld world;
    const std::string cache = world.LocalFolder() + "/spldir.txt";
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(world.ReadFile(cache), "C:\\windows\\system32\\spool\\PRINTERS\r\n");
    world.WriteFile(world.RegistryFile(), RegistryNaming("C:\\\\Ledgerline\\\\Config.ini"));
    world.WriteFile(cache, "  D:\\Spool\\Jobs,second field\r\n");
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_NE(world.DebugLog().find("m_sSpoolPath = D:\\Spool\\Jobs\r\n"), std::string::npos);
}

} // namespace
} // namespace e2e
