// Start-up refuses to run for a program that has not named itself through StartProgram.
#include "ledgerline/platform/Platform.h"
#include "ledgerline/startup/InitEnvironment.h"
#include "support/PlatformDoubles.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// In a fresh process of its own, where nothing has called StartProgram: InitEnvironment returns
// False and its box names the call that is missing.
[[noreturn]] void InitEnvironmentUnstarted() {
    ldgr::test::RecordingDesktop desktop;
    platform::ScopedServices services({.desktop = &desktop});
    const bool started = BCommon::InitEnvironment();
    for (const ldgr::test::ShownBox& box : desktop.boxes) {
        std::fprintf(stderr, "%s|%s\n", box.title.c_str(), box.text.c_str());
    }
    std::exit(!started && desktop.boxes.size() == 1 ? 0 : 1);
}

TEST(StartOrderTest, InitEnvironmentBeforeStartProgramFailsAndSaysWhatToCall) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(InitEnvironmentUnstarted(), ::testing::ExitedWithCode(0),
                "InitEnvironment was called before platform::StartProgram");
}

} // namespace
