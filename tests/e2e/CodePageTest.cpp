// Text inside the program is Windows-1252; the host speaks UTF-8. Names from the environment
// and the registry reach the host's files, and the record and the box log carry each
// character once, in the encoding of each.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

// "C:\Lédger\Config.ini" as regedit writes a registry file: UTF-16LE with a byte-order mark.
std::string Utf16RegistryNaming(const std::string& configFile) {
    const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Korvane Group\\Ledgerline\\4]\r\n"
                             "\"ConfigFile\"=\"" +
                             configFile + "\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char c : text) {
        utf16 += c == '\xE9' ? std::string("\xE9\x00", 2) : std::string(1, c) + '\0';
    }
    return utf16;
}

TEST(CodePage, UserNameReachesTheRecordInTheCodePageAndTheHostInUtf8) {
    HostedWorld world;
    world.SetEnv("LDGR_USERNAME", "j\xC3\xB6rg");
    world.MakeFolder(world.OnDriveC("Ledgerline\\Data\\users\\j\xC3\xB6rg"));
    ASSERT_EQ(world.Run().exitCode, 0);
    const std::vector<std::string> record =
        Lines(world.ReadFile(world.OnDriveC("Ledgerline\\Data\\users\\j\xC3\xB6rg\\1.prt")));
    ASSERT_EQ(record.size(), 22u);
    EXPECT_EQ(record[6], "j\xF6rg");
    EXPECT_NE(world.ReadFile(world.OnDriveC("users\\j\xC3\xB6rg\\LdgrApp\\ldgrmake.txt"))
                  .find("m_sUserName = j\xF6rg\r\n"),
              std::string::npos);
}

TEST(CodePage, ConfigurationPathFromAUtf16RegistryReachesItsHostFolder) {
    HostedWorld world;
    world.WriteFile(world.OnDriveC("L\xC3\xA9"
                                   "dger\\Config.ini"),
                    world.ReadFile(world.OnDriveC("Ledgerline\\Config.ini")));
    world.WriteFile(world.Prefix() + "/registry.reg", Utf16RegistryNaming("C:\\\\L\xE9"
                                                                          "dger\\\\Config.ini"));
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(world.MessageBoxLog().find("Unable to open"), std::string::npos) << world.DebugLog();
    EXPECT_NE(world.DebugLog().find("config file is C:\\L\xE9"
                                    "dger\\Config.ini\r\n"),
              std::string::npos);
}

TEST(CodePage, BoxesCarryEachCharacterOnceInUtf8) {
    HostedWorld world;
    world.SetEnv("LDGR_USERNAME", "j\xC3\xB6rg");
    world.WriteFile(world.Prefix() + "/registry.reg", "Windows Registry Editor Version 5.00\r\n");
    world.Run();
    const std::string boxes = world.MessageBoxLog();
    EXPECT_NE(boxes.find("C:\\\\users\\\\j\xC3\xB6rg\\\\LdgrApp\\\\ldgrmake.ini"),
              std::string::npos)
        << boxes;
}

} // namespace
} // namespace e2e
