// The start-up sequence run in-process: what no file shows.
#include "ledgerline/startup/InitEnvironment.h"

#include "ledgerline/common/Environment.h"
#include "ledgerline/common/getip.h"
#include "ledgerline/platform/Platform.h"
#include "support/PlatformDoubles.h"
#include "support/posix/HostedWorld.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

class InitEnvironmentTest : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        SetVariable("LDGR_USERNAME", "bob");
        SetVariable("LDGR_COMPUTERNAME", "PC17");
        MakeHostFolders(Host("drive_c/Shared/Data/users/bob"));
        MakeHostFolders(Host("drive_c/users/bob")); // the profile of the user set above
        Registry("C:\\\\Shared\\\\Config.ini");
    }

    void Registry(const std::string& configFile) const {
        WriteHostFile(Host("registry.reg"),
                      "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Korvane Group\\Ledgerline\\4]\r\n"
                      "\"ConfigFile\"=\"" +
                          configFile + "\"\r\n");
    }

    // Runs start-up over a configuration whose [GENERAL] section holds generalLines (plus a
    // local DataPath unless given) and then the other sections.
    const BCommon::EnvironmentRecord&
    Start(const std::string& generalLines, const std::string& otherSections = {},
          const std::string& configFile = "drive_c/Shared/Config.ini") {
        std::string general = generalLines;
        if (general.find("DataPath") == std::string::npos) {
            general += "DataPath = C:\\Shared\\Data\r\n";
        }
        MakeHostFolders(Host(configFile.substr(0, configFile.find_last_of('/'))));
        WriteHostFile(Host(configFile), "[GENERAL]\r\n" + general + otherSections);
        EXPECT_TRUE(BCommon::InitEnvironment());
        return BCommon::Env();
    }

    ldgr::test::RecordingDesktop desktop; // keeps the run quiet
    const platform::ScopedServices m_quiet{{.desktop = &desktop}};
};

std::string Group(int n, const std::string& name, const std::string& disable,
                  const std::string& pause, const std::string& redirect) {
    const std::string section = "PG" + std::to_string(n);
    return "[" + section + "]\r\nPrinterGroupName = " + name + "\r\nDisableLogging = " + disable +
           "\r\nPauseUntilAck = " + pause + "\r\nRedirect = " + redirect + "\r\n";
}

TEST_F(InitEnvironmentTest, GroupListsTestExactTexts) {
    const auto& env =
        Start("NumPrinterGroups = 5\r\n",
              Group(1, "A", "True", "False", "Enter IP Address Here") +
                  Group(2, "B", "True", "false", "10.0.0.9") + Group(3, "C", "TRUE", " True", "") +
                  Group(4, "", "False", "True", "10.0.0.4") +
                  Group(5, "E", "False", "False", "enter ip address here"));
    EXPECT_EQ(env.m_sNonLoggingGroups, "A,B");
    EXPECT_EQ(env.m_sLoggingGroups, "E"); // an unnamed group never joins the named lists
    EXPECT_EQ(env.m_sPauseGroups, "C");   // the reader trims " True"; "TRUE" kept C out above
    EXPECT_EQ(env.m_sNoPauseGroups, "A,E");
    EXPECT_EQ(env.m_sRedirectGroups, "B,,E"); // the unnamed group adds an empty name
    EXPECT_EQ(env.m_sUnsetRedirectGroups, "A");
}

TEST_F(InitEnvironmentTest, TruthValueOptionsConvertOrKeepTheirValue) {
    const auto& env =
        Start("DebugLog = maybe\r\nConvert11x17 = true\r\nSavePrintData = yes\r\nObtainPath = 2\r\n"
              "DisplayImmediately = \r\nDisplayToUserOnly = Later\r\nAutoUpdate = \r\n");
    EXPECT_TRUE(env.m_bDebugLog); // does not convert: stays on
    EXPECT_TRUE(env.m_bConvert11x17);
    EXPECT_FALSE(env.m_bSavePrintData); // "yes" is no truth value here
    EXPECT_TRUE(env.m_bObtainPath);
    EXPECT_EQ(env.m_vDisplayImmediately, BCommon::OptionValue::False());
    EXPECT_EQ(env.m_vDisplayToUserOnly, BCommon::OptionValue::Text("Later"));
    EXPECT_EQ(env.m_vAutoUpdate, BCommon::OptionValue::Text(""));
}

TEST_F(InitEnvironmentTest, LoggingMachineIsThisMachineWhereTheRulesSay) {
    MakeHostFolders(Host("dosdevices/unc/srv/data/users/bob"));
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Default", "\\\\srv\\data", "Default"},
        {"default", "C:\\Shared\\Data", "default"},
        {"PC-ANYMACHINE-1", "\\\\srv\\data", "PC17"}};
    for (const auto& [option, dataPath, expected] : cases) {
        const auto& env = Start(std::string("LoggingMachine = ") + option +
                                "\r\nDataPath = " + dataPath + "\r\n");
        EXPECT_EQ(env.m_sLoggingMachine, expected) << option << " " << dataPath;
    }
}

TEST_F(InitEnvironmentTest, RemoteConfigurationWhenOnlyTheConfigurationIsOnTheNetwork) {
    EXPECT_FALSE(Start("").m_bRemoteConfig);
    Registry("\\\\\\\\srv\\\\conf\\\\Config.ini");
    const auto& env = Start("", "", "dosdevices/unc/srv/conf/Config.ini");
    EXPECT_EQ(env.m_sConfigPath, "\\\\srv\\conf\\");
    EXPECT_EQ(env.m_sDataPath, "C:\\Shared\\Data\\");
    EXPECT_TRUE(env.m_bRemoteConfig);
    EXPECT_FALSE(env.m_bLocalDataPath);
}

TEST_F(InitEnvironmentTest, EntriesAreCountedWhereThereAreMore) {
    for (const char* entry : {"machines/PC1", "machines/PC2", "users/ann"}) {
        MakeHostFolders(Host("dosdevices/unc/srv/conf/") + entry);
    }
    MakeHostFolders(Host("drive_c/Shared/Data/users/carl"));
    Registry("\\\\\\\\srv\\\\conf\\\\Config.ini");
    const auto& env = Start("", "", "dosdevices/unc/srv/conf/Config.ini");
    EXPECT_EQ(env.m_lNumMachines, 2);
    EXPECT_EQ(env.m_lNumUsers, 2);
}

TEST_F(InitEnvironmentTest, TheSystemVersionAndThisComputersAddressAreKept) {
    const auto& env = Start("");
    EXPECT_EQ(env.m_sOSVersion, "10.0");
    EXPECT_EQ(env.m_sIPAddress, getip::GetIPAddress()); // the host's: its name resolved
}

TEST_F(InitEnvironmentTest, BoxesCarryTheProgramsTitle) {
    Start("");
    EXPECT_EQ(platform::Ui().Title(), "Ledgerline");
}

// The spool cache is read to its first line only: a longer line is a broken cache.
TEST_F(InitEnvironmentTest, SpoolCacheIsReadAsFarAsItsFirstLine) {
    const std::string kDefault = "C:\\windows\\system32\\spool\\printers";
    const std::string longest(1024, 'x');
    struct Case {
        const char* name;
        std::string content;
        std::string expected;
        std::uintmax_t sparse = 0; // the file made this large with a hole after the content
    };
    const Case cases[] = {
        {.name = "longest line", .content = longest + "\r\nnext", .expected = longest},
        {.name = "longest line, no line end", .content = longest, .expected = longest},
        {.name = "line one byte too long", .content = longest + "x\r\n", .expected = kDefault},
        {.name = "1 GB, no line end", .content = "D:", .expected = kDefault, .sparse = 1 << 30},
        {.name = "quoted field", .content = " \"D:\\q, r\",s\r\n", .expected = "D:\\q, r"},
        {.name = "field up to a comma", .content = "D:\\q ,r", .expected = "D:\\q"},
    };
    const std::string cache = Host("drive_c/users/bob/LdgrApp/spldir.txt");
    for (const Case& c : cases) {
        WriteHostFile(cache, c.content);
        if (c.sparse != 0) {
            std::filesystem::resize_file(cache, c.sparse);
        }
        const std::optional<std::uint64_t> before = BytesReadSoFar();
        EXPECT_EQ(Start("").m_sSpoolPath, c.expected) << c.name;
        if (before) {
            EXPECT_LT(*BytesReadSoFar() - *before, std::uint64_t{1} << 20) << c.name;
        }
    }
}

TEST(ConvertTruthValue, AcceptsTrueFalseInAnyCaseAndNumbers) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"True", true}, {"fALSE", false}, {"0", false}, {"2.5", true}, {"yes", std::nullopt}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(BCommon::ConvertTruthValue(text), expected) << text;
    }
}

} // namespace
