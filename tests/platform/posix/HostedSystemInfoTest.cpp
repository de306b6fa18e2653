// The hosted identity and clock, driven by their environment variables (hosted build only).
#include "platform/Platform.h"
#include "support/HostedWorld.h"

#include <gtest/gtest.h>

namespace {

using HostedSystemInfo = ldgr::test::HostedWorld;
using HostedClock = ldgr::test::HostedWorld;

TEST_F(HostedSystemInfo, VersionFromTheEnvironment) {
    struct Case {
        std::optional<std::string> text;
        std::optional<std::pair<unsigned, unsigned>> version;
    };
    const Case cases[] = {
        {std::nullopt, std::pair{10u, 0u}},
        {"4.10", std::pair{4u, 10u}},
        {"5.1", std::pair{5u, 1u}},
        {"10", std::nullopt},
        {"10.", std::nullopt},
        {".1", std::nullopt},
        {"10.0.1", std::nullopt},
        {"a.b", std::nullopt},
        {"-4.1", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        if (c.text) {
            SetVariable("LDGR_OSVERSION", *c.text);
        } else {
            UnsetVariable("LDGR_OSVERSION");
        }
        const auto got = platform::Sys().Version();
        ASSERT_EQ(got.has_value(), c.version.has_value()) << c.text.value_or("(unset)");
        if (got) {
            EXPECT_EQ(std::pair(got->major, got->minor), *c.version);
        }
    }
}

TEST_F(HostedSystemInfo, NamesMustFitTheirBuffers) {
    SetVariable("LDGR_USERNAME", "alice");
    SetVariable("LDGR_COMPUTERNAME", "PC1");
    EXPECT_EQ(platform::Sys().UserName(6), "alice");
    EXPECT_EQ(platform::Sys().UserName(5), std::nullopt);
    EXPECT_EQ(platform::Sys().ComputerName(4), "PC1");
    EXPECT_EQ(platform::Sys().ComputerName(3), std::nullopt);
    EXPECT_EQ(platform::Sys().SystemFolder(260), "C:\\windows\\system32");
    EXPECT_EQ(platform::Sys().SystemFolder(8), "C:\\wind");
    EXPECT_EQ(platform::Sys().UserProfileFolder(260), "C:\\users\\alice");
    EXPECT_EQ(platform::Sys().UserProfileFolder(14), std::nullopt);
}

TEST_F(HostedClock, FixedTimeOrHostClock) {
    const std::pair<const char*, bool> cases[] = {
        {"2024-02-29T23:59:59", true},  {"2023-02-29T10:00:00", false},
        {"2024-13-01T10:00:00", false}, {"2024-01-01T24:00:00", false},
        {"2024-01-01 10:00:00", false}, {"2024-01-01T10:00", false},
        {"2024-+1-01T10:00:00", false}, {"", false},
    };
    for (const auto& [text, fixed] : cases) {
        SetVariable("LDGR_NOW", text);
        const platform::LocalTime time = platform::Time().Now();
        EXPECT_TRUE(time.IsValid()) << text;
        EXPECT_EQ(time.year == 2024 && time.month == 2 && time.day == 29 && time.hour == 23, fixed)
            << text;
    }
}

} // namespace
