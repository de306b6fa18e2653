// Module BRegistry and the registry record of the configuration file.
#include "config/BRegistry.h"

#include "config/ConfigDoubles.h"
#include "config/ConfigReaders.h"

#include <gtest/gtest.h>

namespace {

using ldgr::test::ConfigWorld;
using platform::RootKey;

constexpr const char* kKey = "SOFTWARE\\Korvane Group\\Ledgerline\\4";

class RegistryTest : public ::testing::Test {
protected:
    void Set(std::uint32_t type, std::string data) {
        world.registry.Set(RootKey::LocalMachine, kKey, "Value", type, std::move(data));
    }
    // GetKeyValue's result and text, starting from "before".
    std::pair<bool, std::string> Get() {
        std::string sResult = "before";
        const bool ok = BRegistry::GetKeyValue(RootKey::LocalMachine, kKey, "Value", sResult);
        return {ok, sResult};
    }

    ConfigWorld world;
};

TEST_F(RegistryTest, ValuesByType) {
    using std::string_literals::operator""s;
    struct Case {
        const char* what;
        std::uint32_t type;
        std::string data;
        std::pair<bool, std::string> full;
        std::string machine;
    };
    const std::string a1023(1023, 'a');
    const Case cases[] = {
        {"text with terminator", platform::kRegSz, "C:\\x\0"s, {true, "C:\\x"}, "C:\\x"},
        {"text without terminator", platform::kRegSz, "C:\\x", {true, "C:\\x"}, "C:\\x"},
        {"1023 and terminator", platform::kRegSz, a1023 + '\0', {true, a1023}, a1023},
        {"1024 and terminator", platform::kRegSz, a1023 + "a\0"s, {false, "before"}, "(unknown)"},
        {"dword 266", platform::kRegDword, "\x0A\x01\0\0"s, {true, "266"}, "\x0A\x01\0"s},
        {"dword 2^31", platform::kRegDword, "\0\0\0\x80"s, {true, "2147483648"}, "\0\0\0\x80"s},
        {"expandable text", platform::kRegExpandSz, "%TEMP%\0"s, {true, "before"}, "%TEMP%"},
        {"binary", platform::kRegBinary, "\x01\x02"s, {true, "before"}, "\x01\x02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Set(c.type, c.data);
        EXPECT_EQ(Get(), c.full);
        EXPECT_EQ(BRegistry::GetMachineKeyValue(kKey, "Value"), c.machine);
    }
    EXPECT_TRUE(world.desktop.boxes.empty());
}

TEST_F(RegistryTest, MissingOrRefusedValues) {
    EXPECT_EQ(Get(), (std::pair<bool, std::string>{false, "before"}));
    EXPECT_EQ(BRegistry::GetMachineKeyValue(kKey, "Value"), "(unknown)");

    Set(platform::kRegSz, "readable");
    world.registry.MakeReadOnly(kKey);
    EXPECT_EQ(Get(), (std::pair<bool, std::string>{false, "before"}));
    EXPECT_EQ(BRegistry::GetMachineKeyValue(kKey, "Value"), "readable");
    EXPECT_TRUE(world.desktop.boxes.empty());
}

// Every start-up reads a recorded file; these are the registry states that record none.
TEST_F(RegistryTest, GetConfigFileWithoutARecord) {
    EXPECT_EQ(BCommon::GetConfigFile(), "");
    for (const char* unknown : {"(unknown)", "(UNKNOWN)"}) {
        world.registry.Set(RootKey::LocalMachine, kKey, "ConfigFile", platform::kRegSz, unknown);
        EXPECT_EQ(BCommon::GetConfigFile(), "") << unknown;
    }
}

TEST_F(RegistryTest, UnexpectedFailuresAreReported) {
    world.registry.failNextRead = true;
    EXPECT_EQ(Get(), (std::pair<bool, std::string>{false, ""}));
    world.registry.failNextRead = true;
    EXPECT_EQ(BCommon::GetConfigFile(), "");
    ASSERT_EQ(world.desktop.boxes.size(), 2u);
    EXPECT_TRUE(
        world.desktop.boxes[0].text.starts_with("Unexpected error 5 in procedure 'GetKeyValue':"));
    EXPECT_TRUE(world.desktop.boxes[1].text.starts_with(
        "Unexpected error 5 in procedure 'GetConfigFile':"));
}

} // namespace
