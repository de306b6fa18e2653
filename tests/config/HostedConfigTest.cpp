// The configuration access over a real hosted prefix: the registry file, configuration files on
// the prefix's drive and the message-box log (hosted build only).
#include "KorvaneIni/KorvaneIni.h"
#include "common/Environment.h"
#include "config/BConfigFile.h"
#include "config/BRegistry.h"
#include "config/ConfigReaders.h"
#include "platform/Platform.h"
#include "support/HostedWorld.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr const char* kConfigFile = "C:\\Ledgerline\\Config.ini";

class HostedConfig : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        BCommon::Env().m_sProductName = "Ledgerline";
        KorvaneIni::ForgetParsedFiles();
        MakeHostFolders(Host("drive_c/Ledgerline"));
    }
    void TearDown() override {
        KorvaneIni::ForgetParsedFiles();
        HostedWorld::TearDown();
    }

    void WriteRegistry(const std::string& values) const {
        WriteHostFile(Host("registry.reg"),
                      "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Korvane Group\\Ledgerline\\4]\r\n" +
                          values);
    }
    void WriteConfig(const std::string& content) const {
        WriteHostFile(Host("drive_c/Ledgerline/Config.ini"), content);
    }
};

TEST_F(HostedConfig, RegistryValuesFromTheRegistryFile) {
    WriteRegistry("\"ConfigFile\"=\"\\\\\\\\srv\\\\ledger\\\\Config.ini\"\r\n"
                  "\"Port\"=dword:0000010a\r\n"
                  "\"Path\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00\r\n");
    const std::string key = "SOFTWARE\\Korvane Group\\Ledgerline\\4";
    std::string sResult = "kept";
    EXPECT_TRUE(BRegistry::GetKeyValue(platform::RootKey::LocalMachine, key, "Port", sResult));
    EXPECT_EQ(sResult, "266");
    EXPECT_TRUE(BRegistry::GetKeyValue(platform::RootKey::LocalMachine, key, "Path", sResult));
    EXPECT_EQ(sResult, "266");
    EXPECT_EQ(BRegistry::GetMachineKeyValue(key, "Path"), "%TEMP%");
    EXPECT_EQ(BCommon::GetConfigFile(), "\\\\srv\\ledger\\Config.ini");

    // A registry the user may read but not change refuses full access only.
    SetVariable("LDGR_REGISTRY_READONLY", "1");
    sResult = "kept";
    EXPECT_FALSE(BRegistry::GetKeyValue(platform::RootKey::LocalMachine, key, "Port", sResult));
    EXPECT_EQ(sResult, "kept");
    EXPECT_EQ(BRegistry::GetMachineKeyValue(key, "Port"), std::string("\x0A\x01\0", 3));
    EXPECT_EQ(BCommon::GetConfigFile(), "\\\\srv\\ledger\\Config.ini");
}

TEST_F(HostedConfig, NoRegistryFileMeansNoRecord) {
    EXPECT_EQ(BRegistry::GetMachineKeyValue("SOFTWARE\\Korvane Group\\Ledgerline\\4", "x"),
              "(unknown)");
    EXPECT_EQ(BCommon::GetConfigFile(), "");
}

TEST_F(HostedConfig, AFileRewrittenBetweenOpensIsReadAnew) {
    WriteConfig("[GENERAL]\r\nLoggingMachine=FIRST\r\n");
    EXPECT_EQ(BCommon::GetGeneralOption(kConfigFile, "LoggingMachine"), "FIRST");
    const auto hostPath = Host("drive_c/Ledgerline/Config.ini");
    const auto firstTime = std::filesystem::last_write_time(hostPath);
    WriteConfig("[GENERAL]\r\nLoggingMachine=OTHER\r\n");
    // Same size: only the last-write time tells the versions apart.
    std::filesystem::last_write_time(hostPath, firstTime + std::chrono::seconds(2));
    EXPECT_EQ(BCommon::GetGeneralOption(kConfigFile, "LoggingMachine"), "OTHER");
}

TEST_F(HostedConfig, MessagesReachTheMessageBoxLog) {
    const std::string log = Scratch() + "/boxes.jsonl";
    SetVariable("LDGR_MSGBOX_LOG", log);
    WriteConfig("[GENERAL]\r\nVersion=abc\r\n");
    EXPECT_EQ(BCommon::GetConfigFileVersion(kConfigFile), 0);
    EXPECT_EQ(BCommon::GetConfigFileVersion("C:\\Ledgerline\\Missing.ini"), 0);
    EXPECT_EQ(ReadHostFile(log),
              "{\"title\":\"Ledgerline\",\"style\":48,\"text\":\"Entry [GENERAL].Version is not "
              "numeric in configuration file:\\rC:\\\\Ledgerline\\\\Config.ini\",\"answer\":"
              "\"OK\"}\n"
              "{\"title\":\"Ledgerline\",\"style\":48,\"text\":\"Unable to open configuration "
              "file:\\rC:\\\\Ledgerline\\\\Missing.ini\",\"answer\":\"OK\"}\n");
}

TEST_F(HostedConfig, WrittenFileReadsBack) {
    {
        auto file = platform::Files().OpenText(kConfigFile, platform::OpenMode::Output);
        BConfigFile::WriteIniFileSection(*file, "GENERAL");
        BConfigFile::WriteIniFileValue(*file, "Version", "2");
        BConfigFile::WriteIniFileValue(*file, "DataFile", "\\\\srv\\data\\");
        file->Close();
    }
    EXPECT_EQ(ReadHostFile(Host("drive_c/Ledgerline/Config.ini")),
              "[GENERAL]\r\nVersion                  = 2\r\n"
              "DataFile                 = \\\\srv\\data\\\r\n");
    EXPECT_EQ(BCommon::GetConfigFileVersion(kConfigFile), 2);
    BCommon::Env().m_sconfigfile = kConfigFile;
    EXPECT_EQ(BCommon::GetDataPath(), "\\\\srv\\data\\");
}

} // namespace
