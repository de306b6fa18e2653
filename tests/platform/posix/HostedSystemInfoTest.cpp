// The hosted identity and clock, driven by their environment variables (hosted build only).
#include "platform/Platform.h"
#include "support/posix/HostedWorld.h"

#include <ctime>
#include <gtest/gtest.h>
#include <string>

namespace {

using HostedSystemInfo = ldgr::test::HostedWorld;
using HostedClock = ldgr::test::HostedWorld;

// LDGR_OSVERSION gives "major.minor"; anything else is no version at all.
TEST_F(HostedSystemInfo, VersionFromTheEnvironment) {
    const auto version = [] {
        const auto got = platform::Sys().Version();
        return got ? std::to_string(got->major) + "." + std::to_string(got->minor) : "none";
    };
    UnsetVariable("LDGR_OSVERSION");
    EXPECT_EQ(version(), "10.0");
    SetVariable("LDGR_OSVERSION", "4.10");
    EXPECT_EQ(version(), "4.10");
    for (const char* text : {"10", "10.", ".1", "10.0.1", "a.b", "-4.1", ""}) {
        SetVariable("LDGR_OSVERSION", text);
        EXPECT_EQ(version(), "none") << text;
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
        // File times are the host's, whatever LDGR_NOW says.
        constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;
        const auto hostNow = static_cast<std::uint64_t>(std::time(nullptr));
        EXPECT_NEAR(static_cast<double>((platform::Time().FileTimeNow() - kUnixEpoch) / 10'000'000),
                    static_cast<double>(hostNow), 2.0)
            << text;
    }
}

} // namespace
