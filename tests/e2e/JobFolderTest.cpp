// The job folder over many runs: copies started at once each take a number of their own and
// leave every record complete; names the job search cannot examine or replace never stop it.
#include "HostedWorld.h"
#include "WineRunner.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kCopies = 8;

// Whether a failed run ended without a word: no text and, once all runs are done, no box. The
// program shows every failure of its own in a box, so under Wine such a run was ended by Wine
// (before the program started, or after it wrote its record), not by the program.
bool EndedWithoutAWord(const RunResult& run) {
    return UnderWine() && run.stderrText.empty();
}

TEST(LdgrmakeConcurrency, EightCopiesFiftyRunsEachWriteFourHundredDistinctRecords) {
    HostedWorld world;
    // A run under Wine costs a second, not milliseconds: there each copy runs fewer times.
    const int runsEach = UnderWine() ? 10 : 50;
    std::mutex failing;
    std::vector<std::string> failures;
    std::vector<int> endedByWine; // their exit statuses
    {
        std::vector<std::jthread> copies;
        for (int copy = 0; copy < kCopies; ++copy) {
            copies.emplace_back([&] {
                for (int run = 0; run < runsEach; ++run) {
                    if (const RunResult result = world.Run(); result.exitCode != 0) {
                        const std::lock_guard<std::mutex> lock(failing);
                        if (EndedWithoutAWord(result)) {
                            endedByWine.push_back(result.exitCode);
                        } else {
                            failures.push_back("exit " + std::to_string(result.exitCode) + ": " +
                                               result.stderrText);
                        }
                    }
                }
            });
        }
    }
    EXPECT_EQ(failures, std::vector<std::string>{});
    // Copies starting together on a fresh profile make its folders or find them made.
    EXPECT_EQ(world.MessageBoxLog(), "");
    for (const int status : endedByWine) {
        std::printf("note: Wine ended a run with status %d and no word from the program; its "
                    "record is not asked for\n",
                    status);
    }

    // Every record whole, numbered from 1 without a gap: all runs' records, but those of runs
    // Wine ended, which may or may not have written theirs.
    const std::vector<std::string> names = world.FolderNames(world.UserFolder());
    const int runs = kCopies * runsEach;
    EXPECT_GE(names.size(), static_cast<std::size_t>(runs) - endedByWine.size());
    std::set<std::string> expected;
    for (std::size_t job = 1; job <= names.size(); ++job) {
        expected.insert(std::to_string(job) + ".prt");
    }
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
    for (const std::string& name : names) {
        const std::vector<std::string> lines = Lines(ReadHostFile(world.UserFolder() + "/" + name));
        ASSERT_EQ(lines.size(), 22u) << name;
        EXPECT_EQ(" " + name.substr(0, name.find('.')) + " ", lines[3]);
        EXPECT_EQ(lines[21], "Not Applicable");
    }
    EXPECT_TRUE(world.FolderNames(world.LocalFolder() + "/users").empty());
}

// Dangling or looping links at job numbers count as taken: the run ends with the next free one,
// in a bounded time, leaving no temporary.
TEST(LdgrmakeJobFolder, LinksAtJobNumbersCountAsTakenAndTheSearchEnds) {
    LDGR_HOSTED_ONLY("host links in the job folder are a hosted world's arrangement");
    struct Case {
        const char* what = "";
        std::vector<std::string> danglingLinks = {};
        std::vector<std::string> jobFiles = {};
        std::vector<std::pair<std::string, std::string>> loops = {}; // link, its target
        std::string expected = {};
    };
    const Case cases[] = {
        {.what = "dangling links between real files",
         .danglingLinks = {"1.prt", "3.prt", "5.prt"},
         .jobFiles = {"2.prt", "4.dat"},
         .expected = "6.prt"},
        {.what = "a link loop",
         .loops = {{"1.prt", "2.prt"}, {"2.prt", "1.prt"}},
         .expected = "3.prt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // In the local profile's data folder, which the run uses whatever its permission probe
        // makes of the links.
        HostedWorld world;
        world.SetGeneralOption("DataPath", "Local Profile");
        const std::string folder = world.LocalFolder() + "/users/alice";
        fs::create_directories(folder);
        for (const std::string& name : c.danglingLinks) {
            fs::create_symlink(world.Root() + "/nowhere/" + name, folder + "/" + name);
        }
        for (const auto& [link, target] : c.loops) {
            fs::create_symlink(target, folder + "/" + link);
        }
        for (const std::string& name : c.jobFiles) {
            WriteHostFile(folder + "/" + name, "job");
        }
        const RunResult run = world.Run("ldgrmake", {"timeout", "-s", "KILL", "20"});
        ASSERT_EQ(run.exitCode, 0) << run.stderrText;
        EXPECT_EQ(Lines(ReadHostFile(folder + "/" + c.expected)).size(), 22u);
        for (const auto& entry : fs::directory_iterator(folder)) {
            EXPECT_FALSE(entry.path().extension() == ".tmp") << entry.path();
        }
        EXPECT_FALSE(fs::exists(world.Root() + "/nowhere"));
    }
}

} // namespace
} // namespace e2e
