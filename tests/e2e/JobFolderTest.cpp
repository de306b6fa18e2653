// What a killed run left in the job folder and the local folder: the suite's own temporaries
// older than ten minutes are swept by the next run; newer ones and every other file stay.
#include "HostedWorld.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace e2e {
namespace {

namespace fs = std::filesystem;

TEST(LdgrmakeJobFolder, StaleTemporariesAreSweptAndNothingElseIsTouched) {
    HostedWorld world;
    const auto now = fs::file_time_type::clock::now();
    const std::string folders[] = {world.UserFolder(), world.LocalFolder()};
    const auto place = [&](const std::string& name, std::chrono::minutes age) {
        for (const std::string& folder : folders) {
            world.WriteFile(folder + "/" + name, name);
            fs::last_write_time(folder + "/" + name, now - age);
        }
    };
    const std::vector<std::string> stale = {"~job4711.tmp", "TEST-0123456789ABCDEF.txt",
                                            ".ldgrcopy.4711.tmp"};
    // Temporaries that another program may still be writing, and old look-alikes.
    const std::vector<std::string> fresh = {"~job815.tmp", "test-fedcba9876543210.txt"};
    const std::vector<std::string> lookAlikes = {"test-123.txt", "~jobx.tmp", "job1.tmp"};
    for (const std::string& name : stale) {
        place(name, std::chrono::minutes(11));
    }
    for (const std::string& name : fresh) {
        place(name, std::chrono::minutes(9));
    }
    for (const std::string& name : lookAlikes) {
        place(name, std::chrono::minutes(60));
    }

    const RunResult run = world.Run();
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;

    for (const std::string& folder : folders) {
        for (const std::string& name : stale) {
            EXPECT_FALSE(fs::exists(folder + "/" + name)) << folder << "/" << name;
        }
        for (const auto* names : {&fresh, &lookAlikes}) {
            for (const std::string& name : *names) {
                EXPECT_EQ(world.ReadFile(folder + "/" + name), name);
            }
        }
    }
    std::vector<std::string> kept = {"1.prt"};
    kept.insert(kept.end(), fresh.begin(), fresh.end());
    kept.insert(kept.end(), lookAlikes.begin(), lookAlikes.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(world.FolderNames(world.UserFolder()), kept);
}

} // namespace
} // namespace e2e
