// ldgrmake run for real in temporary hosted prefixes: the record, the numbering, the debug
// log, the program identity and the spool cache.
#include "HostedWorld.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(ReadHostFile(world.UserFolder() + "/1.prt"), kExpectedRecord);
    EXPECT_EQ(world.FolderNames(world.UserFolder()), std::vector<std::string>{"1.prt"});
    EXPECT_EQ(run.stderrText, "");
}

// The edges of one listing are unit-tested; here, gaps left by either kind in any letter case.
TEST(Ldgrmake, TakesTheLowestFreeNumberOfEitherKindInAnyCase) {
    HostedWorld world;
    for (const char* file : {"1.prt", "2.Dat", "4.PRT"}) {
        WriteHostFile(world.UserFolder() + "/" + file, "job");
    }
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(Lines(ReadHostFile(world.UserFolder() + "/3.prt")).at(3), " 3 ");
}

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
    EXPECT_EQ(ReadHostFile(world.LocalFolder() + "/ldgrmake.ini"),
              ReadHostFile(world.OnDriveC("Ledgerline\\Config.ini")));
}

TEST(Ldgrmake, ProcessorWithNothingToDisplayEndsDuringStartup) {
    HostedWorld world;
    EXPECT_EQ(world.Run("ldgrproc").exitCode, 0);
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_EQ(Lines(world.DebugLog("ldgrproc")).size(), 11u); // up to the user folder's probe
}

TEST(Ldgrmake, MaintenanceProgramHasNoJobFolderAndWritesNothing) {
    HostedWorld world;
    EXPECT_EQ(world.Run("ldgrmaint").exitCode, 76);
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
    EXPECT_NE(world.MessageBoxLog().find("\"text\":\"Run-time error '76':\\r\\rPath not found\""),
              std::string::npos)
        << world.MessageBoxLog();
}

TEST(Ldgrmake, SpoolFolderIsCachedForRunsWhoseRegistryHasNone) {
    HostedWorld world;
    const std::string cache = world.LocalFolder() + "/spldir.txt";
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(ReadHostFile(cache), "C:\\windows\\system32\\spool\\PRINTERS\r\n");
    const std::string registry = ReadHostFile(world.RegistryFile());
    WriteHostFile(world.RegistryFile(), registry.substr(0, registry.find("\"DefaultSpool")));
    WriteHostFile(cache, "  D:\\Spool\\Jobs,second field\r\n");
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_NE(world.DebugLog().find("m_sSpoolPath = D:\\Spool\\Jobs\r\n"), std::string::npos);
}

} // namespace
} // namespace e2e
