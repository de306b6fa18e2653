// Text inside the program is Windows-1252; the host speaks UTF-8. Names from the registry and
// the environment reach the host's files, and the box log carries each character once, in
// UTF-8.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <gtest/gtest.h>

namespace e2e {
namespace {

// "C:\Lédger\Config.ini" as regedit writes a registry file: UTF-16LE with a byte-order mark.
TEST(CodePage, ConfigurationPathFromAUtf16RegistryReachesItsHostFolder) {
    HostedWorld world;
    world.WriteFile(world.OnDriveC("L\xC3\xA9"
                                   "dger\\Config.ini"),
                    world.ReadFile(world.OnDriveC("Ledgerline\\Config.ini")));
    std::string utf16 = "\xFF\xFE";
    for (const char c : RegistryNaming("C:\\\\L\xE9"
                                       "dger\\\\Config.ini")) {
        utf16 += std::string(1, c) + '\0';
    }
    world.WriteFile(world.RegistryFile(), utf16);
    ASSERT_EQ(world.Run().exitCode, 0);
    EXPECT_EQ(world.MessageBoxLog().find("Unable to open"), std::string::npos) << world.DebugLog();
    EXPECT_NE(world.DebugLog().find("config file is C:\\L\xE9"
                                    "dger\\Config.ini\r\n"),
              std::string::npos);
}

TEST(CodePage, BoxesCarryEachCharacterOnceInUtf8) {
    HostedWorld world;
    world.SetEnv("LDGR_USERNAME", "j\xC3\xB6rg");
    world.WriteFile(world.RegistryFile(), "Windows Registry Editor Version 5.00\r\n");
    world.Run();
    EXPECT_NE(world.MessageBoxLog().find("C:\\\\users\\\\j\xC3\xB6rg\\\\LdgrApp\\\\ldgrmake.ini"),
              std::string::npos)
        << world.MessageBoxLog();
}

} // namespace
} // namespace e2e
