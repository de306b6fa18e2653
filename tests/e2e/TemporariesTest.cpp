// The suite's stale temporaries are swept at start-up by the folder's clock, never one in use.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::minutes;

// The workstation's clock a quarter of an hour off the folder's (NO_FAKE_STAT: faketime shifts
// the clock only): ages are judged by the folder's.
TEST(Temporaries, AgesAreJudgedByTheFoldersClockNotTheWorkstations) {
    LDGR_HOSTED_ONLY("faketime shifts the clock of host programs");
    struct Case {
        const char* shift;
        int minutesAgo;
        bool swept;
    };
    const Case cases[] = {
        {.shift = "+15m", .minutesAgo = 1, .swept = false},
        {.shift = "-15m", .minutesAgo = 11, .swept = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shift);
        HostedWorld world;
        world.SetEnv("NO_FAKE_STAT", "1");
        // The preloaded clock comes before the sanitizer's run-time library, where there is one.
        const char* asan = std::getenv("ASAN_OPTIONS");
        world.SetEnv("ASAN_OPTIONS",
                     std::string(asan == nullptr ? "" : asan) + ":verify_asan_link_order=0");
        const std::string job = world.UserFolder() + "/~job0000000000004711.tmp";
        const std::string copy = world.LocalFolder() + "/.ldgrcopy.0123456789abcdef.tmp";
        for (const std::string& planted : {job, copy}) {
            WriteHostFile(planted, "planted");
            fs::last_write_time(planted, fs::file_time_type::clock::now() - minutes(c.minutesAgo));
        }

        const RunResult run = world.Run("ldgrmake", {"faketime", "-f", c.shift});
        ASSERT_EQ(run.exitCode, 0) << run.stderrText;
        EXPECT_NE(fs::exists(job), c.swept);
        EXPECT_NE(fs::exists(copy), c.swept);
    }
}

// A copy of the (old) shared file held up in its temporary's flush by strace while another
// program sweeps the profile: the temporary survives and the copy arrives.
TEST(Temporaries, ACopyOnItsWayIsNotSweptByAProgramStartingMeanwhile) {
    LDGR_HOSTED_ONLY("strace holds up a host program");
    HostedWorld world;
    world.SetEnv("ASAN_OPTIONS", "detect_leaks=0"); // no leak check under a tracer
    const std::string shared = world.OnDriveC("Ledgerline\\Config.ini");
    fs::last_write_time(shared, fs::file_time_type::clock::now() - minutes(31));
    RunResult copying;
    std::jthread first([&] {
        copying = world.Run("ldgrmake", {"strace", "-o", "/dev/null", "-e", "trace=fsync", "-e",
                                         "inject=fsync:delay_enter=3000000:when=1"});
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (world.Tree(world.LocalFolder(), ".ldgrcopy.").empty() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_NE(world.Tree(world.LocalFolder(), ".ldgrcopy."), std::vector<std::string>{});
    const RunResult sweeping = world.Run("ldgrproc");
    first.join();

    EXPECT_EQ(sweeping.exitCode, 0) << sweeping.stderrText;
    EXPECT_EQ(copying.exitCode, 0) << copying.stderrText;
    EXPECT_EQ(ReadHostFile(world.LocalFolder() + "/ldgrmake.ini"), ReadHostFile(shared));
    EXPECT_EQ(fs::last_write_time(world.LocalFolder() + "/ldgrmake.ini"),
              fs::last_write_time(shared));
}

} // namespace
} // namespace e2e
