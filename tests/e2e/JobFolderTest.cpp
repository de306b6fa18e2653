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
using std::chrono::minutes;

TEST(LdgrmakeJobFolder, StaleTemporariesAreSweptAndNothingElseIsTouched) {
    HostedWorld world;
    const auto now = fs::file_time_type::clock::now();
    const std::string folders[] = {world.UserFolder(), world.LocalFolder()};
    const std::vector<std::string> stale = {"~job4711.tmp", "~JOB18446744073709551615.TMP",
                                            "TEST-0123456789ABCDEF.txt", ".ldgrcopy.4711.tmp",
                                            ".LdgrCopy.a.b.Tmp"};
    // Temporaries that another program may still be writing, and old look-alikes.
    const std::vector<std::string> fresh = {"~job815.tmp", "test-fedcba9876543210.txt"};
    const std::vector<std::string> lookAlikes = {"test-123.txt",
                                                 "~jobx.tmp",
                                                 "job1.tmp",
                                                 "~job.tmp",
                                                 "~job1x.tmp",
                                                 "~job1.tmp.bak",
                                                 "test.txt",
                                                 "test-0123456789abcdeg.txt",
                                                 ".ldgrcopy..tmp",
                                                 "ldgrcopy.1.tmp",
                                                 "test-0123456789abcdef0.txt"};
    for (const std::string& folder : folders) {
        for (const auto& [names, age] :
             {std::pair{&stale, minutes(11)}, {&fresh, minutes(9)}, {&lookAlikes, minutes(60)}}) {
            for (const std::string& name : *names) {
                world.WriteFile(folder + "/" + name, name);
                fs::last_write_time(folder + "/" + name, now - age);
            }
        }
        // A folder named like a temporary is no temporary.
        world.MakeFolder(folder + "/~job9.tmp");
        fs::last_write_time(folder + "/~job9.tmp", now - minutes(60));
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
        EXPECT_TRUE(fs::is_directory(folder + "/~job9.tmp"));
    }
    std::vector<std::string> kept = {"1.prt", "~job9.tmp"};
    kept.insert(kept.end(), fresh.begin(), fresh.end());
    kept.insert(kept.end(), lookAlikes.begin(), lookAlikes.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(world.FolderNames(world.UserFolder()), kept);
}

} // namespace
} // namespace e2e
