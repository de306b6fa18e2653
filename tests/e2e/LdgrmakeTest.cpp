// ldgrmake run for real in temporary hosted prefixes: the record and its number, also over many
// runs at once, the debug log and the program identity.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

namespace e2e {
namespace {

using testing::HasSubstr;

// The edges of one listing are unit-tested; here, gaps left by either kind in any letter case.
TEST(Ldgrmake, WritesTheRecordByteForByteUnderTheLowestFreeNumber) {
    HostedWorld world;
    for (const char* file : {"1.prt", "2.Dat", "4.PRT"}) {
        WriteHostFile(world.UserFolder() + "/" + file, "job");
    }
    const RunResult run = world.Run();
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    EXPECT_EQ(
        ReadHostFile(world.UserFolder() + "/3.prt"),
        "reserved\r\nreserved\r\n\\\\PC17\r\n 3 \r\nOffline Job\r\nunavailable\r\nalice\r\n"
        "Offline Job\r\nUnknown\r\n03/01/2026 1:05:03 PM\r\n1000\r\nPending\r\nPending\r\n"
        "Pending\r\nPending\r\nPending\r\nPending\r\n\r\nPending\r\nOffline Job\r\nPending\r\n"
        "Not Applicable\r\n");
    EXPECT_EQ(world.FolderNames(world.UserFolder()),
              (std::vector<std::string>{"1.prt", "2.Dat", "3.prt", "4.PRT"}));
    EXPECT_EQ(run.stderrText, "");
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

// The processor with nothing to display ends during start-up; the maintenance program has no
// job folder and stops with path not found. Neither writes a record.
TEST(Ldgrmake, OtherProgramsOfTheSuiteWriteNoRecord) {
    HostedWorld world;
    EXPECT_EQ(world.Run("ldgrproc").exitCode, 0);
    EXPECT_EQ(Lines(world.DebugLog("ldgrproc")).size(), 11u); // up to the user folder's probe
    EXPECT_EQ(world.Run("ldgrmaint").exitCode, 76);
    EXPECT_THAT(world.MessageBoxLog(), HasSubstr(RunTimeErrorBox(76, "Path not found")));
    EXPECT_TRUE(world.FolderNames(world.UserFolder()).empty());
}

// Copies started at once on a fresh profile each take a number of their own, make its folders
// or find them made, and leave every record whole.
TEST(LdgrmakeJobFolder, EightCopiesStartedAtOnceWriteDistinctRecordsNumberedWithoutAGap) {
    HostedWorld world;
    // A run under Wine costs a second, not milliseconds: there each copy runs fewer times.
    const int copies = 8;
    const int runsEach = UnderWine() ? 10 : 50;
    std::mutex failing;
    std::vector<std::string> failures;
    // A failed run without a word on standard error was ended by Wine (the program shows every
    // failure of its own in a box), before it started or after it wrote its record.
    int endedByWine = 0;
    {
        std::vector<std::jthread> threads;
        for (int copy = 0; copy < copies; ++copy) {
            threads.emplace_back([&] {
                for (int run = 0; run < runsEach; ++run) {
                    if (const RunResult result = world.Run(); result.exitCode != 0) {
                        const std::lock_guard<std::mutex> lock(failing);
                        if (UnderWine() && result.stderrText.empty()) {
                            ++endedByWine;
                        } else {
                            failures.push_back("exit " + std::to_string(result.exitCode) + ": " +
                                               result.stderrText);
                        }
                    }
                }
            });
        }
    }
    EXPECT_EQ(failures, std::vector<std::string>{});
    EXPECT_EQ(world.MessageBoxLog(), "");
    const std::vector<std::string> names = world.FolderNames(world.UserFolder());
    EXPECT_GE(static_cast<int>(names.size()), copies * runsEach - endedByWine);
    std::set<std::string> expected;
    for (std::size_t job = 1; job <= names.size(); ++job) {
        expected.insert(std::to_string(job) + ".prt");
    }
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    for (const std::string& name : names) {
        const std::vector<std::string> lines = Lines(ReadHostFile(world.UserFolder() + "/" + name));
        ASSERT_EQ(lines.size(), 22u) << name;
        EXPECT_EQ(" " + name.substr(0, name.find('.')) + " ", lines[3]);
        EXPECT_EQ(lines[21], "Not Applicable");
    }
    EXPECT_TRUE(world.FolderNames(world.LocalFolder() + "/users").empty());
}

} // namespace
} // namespace e2e
