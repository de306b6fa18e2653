// The hosted identity, driven by its environment variables (hosted build only).
#include "ledgerline/platform/Platform.h"
#include "support/posix/HostedWorld.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using HostedSystemInfo = ldgr::test::HostedWorld;

// LDGR_OSVERSION gives "major.minor"; anything else is no version at all.
TEST_F(HostedSystemInfo, VersionFromTheEnvironment) {
    const auto version = [] {
        const auto got = platform::Sys().Version();
        return got ? std::to_string(got->major) + "." + std::to_string(got->minor) : "none";
    };
    EXPECT_EQ(version(), "10.0");
    for (const auto& [text, expected] :
         {std::pair{"4.10", "4.10"}, {"10", "none"}, {"10.", "none"}, {"10.0.1", "none"}}) {
        SetVariable("LDGR_OSVERSION", text);
        EXPECT_EQ(version(), expected) << text;
    }
}

TEST_F(HostedSystemInfo, NamesMustFitTheirBuffers) {
    SetVariable("LDGR_USERNAME", "alice");
    EXPECT_EQ(platform::Sys().UserName(6), "alice");
    EXPECT_EQ(platform::Sys().UserName(5), std::nullopt);
    EXPECT_EQ(platform::Sys().SystemFolder(260), "C:\\windows\\system32");
    EXPECT_EQ(platform::Sys().SystemFolder(8), "C:\\wind");
}

} // namespace
