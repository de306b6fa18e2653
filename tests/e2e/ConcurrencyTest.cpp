// Many copies of ldgrmake started at once on one job folder: every record complete, every
// number taken once, nothing pushed to the local folder, nothing left behind.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace e2e {
namespace {

constexpr int kCopies = 8;
constexpr int kRunsEach = 50;
// A run under Wine costs a second, not milliseconds: there each copy runs fewer times.
constexpr int kRunsEachUnderWine = 10;

TEST(LdgrmakeConcurrency, EightCopiesFiftyRunsEachWriteFourHundredDistinctRecords) {
    HostedWorld world;
    std::vector<std::thread> copies;
    const int runsEach = UnderWine() ? kRunsEachUnderWine : kRunsEach;
    std::vector<int> failures(kCopies, 0);
    std::vector<std::string> firstFailure(kCopies);
    for (int copy = 0; copy < kCopies; ++copy) {
        copies.emplace_back([&world, &failures, &firstFailure, copy, runsEach] {
            for (int run = 0; run < runsEach; ++run) {
                const RunResult result = world.Run();
                if (result.exitCode != 0 && failures[copy]++ == 0) {
                    firstFailure[copy] = result.stderrText;
                }
            }
        });
    }
    for (std::thread& copy : copies) {
        copy.join();
    }
    for (int copy = 0; copy < kCopies; ++copy) {
        EXPECT_EQ(failures[copy], 0) << "copy " << copy << ": " << firstFailure[copy];
    }
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
