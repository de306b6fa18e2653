// The job folder over many runs: copies started at once each take a number of their own and
// leave every record complete.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

namespace e2e {
namespace {

constexpr int kCopies = 8;

TEST(LdgrmakeConcurrency, EightCopiesFiftyRunsEachWriteFourHundredDistinctRecords) {
    HostedWorld world;
    // A run under Wine costs a second, not milliseconds: there each copy runs fewer times.
    const int runsEach = UnderWine() ? 10 : 50;
    std::mutex failing;
    std::vector<std::string> failures;
    {
        std::vector<std::jthread> copies;
        for (int copy = 0; copy < kCopies; ++copy) {
            copies.emplace_back([&] {
                for (int run = 0; run < runsEach; ++run) {
                    if (const RunResult result = world.Run(); result.exitCode != 0) {
                        const std::lock_guard<std::mutex> lock(failing);
                        failures.push_back(result.stderrText);
                    }
                }
            });
        }
    }
    EXPECT_EQ(failures, std::vector<std::string>{});
    // Copies starting together on a fresh profile make its folders or find them made.
    EXPECT_EQ(world.MessageBoxLog(), "");

    std::set<std::string> expected;
    for (int job = 1; job <= kCopies * runsEach; ++job) {
        expected.insert(std::to_string(job) + ".prt");
    }
    const std::vector<std::string> names = world.FolderNames(world.UserFolder());
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    for (const std::string& name : names) {
        const std::vector<std::string> lines =
            Lines(world.ReadFile(world.UserFolder() + "/" + name));
        ASSERT_EQ(lines.size(), 22u) << name;
        EXPECT_EQ(" " + name.substr(0, name.find('.')) + " ", lines[3]);
        EXPECT_EQ(lines[21], "Not Applicable");
    }
    EXPECT_TRUE(world.FolderNames(world.LocalFolder() + "/users").empty());
}

} // namespace
} // namespace e2e
