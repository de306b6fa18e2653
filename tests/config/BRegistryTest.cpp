// Module BRegistry and the registry record of the configuration file.
#include "ledgerline/config/BRegistry.h"

#include "config/ConfigDoubles.h"
#include "ledgerline/config/ConfigReaders.h"

#include <gtest/gtest.h>
#include <tuple>

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
    const std::string a1023(1023, 'a');
    // Type, data, then GetKeyValue's result and what GetMachineKeyValue gives.
    const std::tuple<std::uint32_t, std::string, std::pair<bool, std::string>, std::string>
        cases[] = {
            {platform::kRegSz, "C:\\x\0"s, {true, "C:\\x"}, "C:\\x"},
            {platform::kRegSz, "C:\\x", {true, "C:\\x"}, "C:\\x"},
            {platform::kRegSz, a1023 + '\0', {true, a1023}, a1023},
            {platform::kRegSz, a1023 + "a\0"s, {false, "before"}, "(unknown)"},
            {platform::kRegDword, "\x0A\x01\0\x80"s, {true, "2147483914"}, "\x0A\x01\0\x80"s},
            {platform::kRegBinary, "\x01\x02"s, {true, "before"}, "\x01\x02"},
        };
    for (const auto& [type, data, full, machine] : cases) {
        SCOPED_TRACE(data);
        Set(type, data);
        EXPECT_EQ(Get(), full);
        EXPECT_EQ(BRegistry::GetMachineKeyValue(kKey, "Value"), machine);
    }
    EXPECT_TRUE(world.desktop.boxes.empty());
}

// A read-only key: values are read whole only where no more than reading is asked.
TEST_F(RegistryTest, ReadOnlyKeyIsReadOnlyWhereNoMoreIsAsked) {
    Set(platform::kRegSz, "readable");
    world.registry.MakeReadOnly(kKey);
    EXPECT_EQ(Get(), (std::pair<bool, std::string>{false, "before"}));
    EXPECT_EQ(BRegistry::GetMachineKeyValue(kKey, "Value"), "readable");
}

// Every start-up reads a recorded file; these are the registry states that record none.
TEST_F(RegistryTest, GetConfigFileWithoutARecord) {
    EXPECT_EQ(BCommon::GetConfigFile(), "");
    world.registry.Set(RootKey::LocalMachine, kKey, "ConfigFile", platform::kRegSz, "(UNKNOWN)");
    EXPECT_EQ(BCommon::GetConfigFile(), "");
}

} // namespace
