// The suite's temporaries (hosted build only): what a sweep takes, and one sweep's work.
#include "ledgerline/common/Temporaries.h"

#include "ledgerline/platform/Platform.h"
#include "support/FaultyFiles.h"
#include "support/posix/HostedWorld.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using BCommon::TemporaryKind;
using ldgr::test::FileCall;
using std::chrono::minutes;

using Temporaries = ldgr::test::HostedWorld;

// The suite's own, left behind, and names of its exact shape, stale by the folder's clock more
// than ten minutes either way, are swept; nothing else is.
TEST_F(Temporaries, OnlyTheSuitesStaleTemporariesAreSwept) {
    struct Case {
        const char* name;
        int minutesAgo; // ahead of the folder's clock when negative
        bool swept = false;
    };
    const Case cases[] = {
        {.name = "~job0000000000004711.tmp", .minutesAgo = 11, .swept = true},
        {.name = "test-0000000000000815.txt", .minutesAgo = 11, .swept = true},
        {.name = ".ldgrcopy.00000000deadbeef.tmp", .minutesAgo = 11, .swept = true},
        {.name = "~job0000000000000042.tmp", .minutesAgo = -11, .swept = true},
        {.name = "~job1234567890123456.tmp", .minutesAgo = 9},
        {.name = "test-1234567890123456.txt", .minutesAgo = -9},
        {.name = "~job1.tmp", .minutesAgo = 60},
        {.name = "~JOB0000000000004711.TMP", .minutesAgo = 60},
        {.name = "~job00000000000047111.tmp", .minutesAgo = 60},
        {.name = "test-0123456789abcdef.txt", .minutesAgo = 60},
        {.name = ".ldgrcopy.my notes.tmp", .minutesAgo = 60},
        {.name = ".ldgrcopy.0123456789ABCDEF.tmp", .minutesAgo = 60},
    };
    const std::string folder = Host("drive_c/jobs/");
    const auto age = [&](const std::string& name, int minutesAgo) {
        fs::last_write_time(folder + name, fs::file_time_type::clock::now() - minutes(minutesAgo));
    };
    MakeHostFolders(folder + "~job0000000000000009.tmp");
    age("~job0000000000000009.tmp", 60);
    for (const Case& c : cases) {
        WriteHostFile(folder + c.name, c.name);
        age(c.name, c.minutesAgo);
    }
    std::vector<std::string> made;
    for (int n = 0; n < 24; ++n) {
        for (const TemporaryKind kind : {TemporaryKind::JobRecord, TemporaryKind::AccessProbe}) {
            made.push_back(BCommon::CreateTemporary("C:\\jobs\\", kind).sName);
            age(made.back(), 11);
        }
    }
    BCommon::RemoveStaleTemporaries("C:\\jobs");
    EXPECT_TRUE(fs::is_directory(folder + "~job0000000000000009.tmp"));
    for (const Case& c : cases) {
        EXPECT_NE(HostExists(folder + c.name), c.swept) << c.name;
    }
    for (const std::string& name : made) {
        EXPECT_FALSE(HostExists(folder + name)) << name;
    }
}

// Stale names of the suite's shape: one run does bounded work, runs one after another empty it.
TEST_F(Temporaries, OneSweepDoesABoundedWork) {
    constexpr int kPlanted = 300;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    for (int n = 0; n < kPlanted; ++n) {
        const std::string digits = std::to_string(n);
        const std::string host =
            Host("drive_c/jobs/~job" + std::string(16 - digits.size(), '0') + digits + ".tmp");
        WriteHostFile(host, "");
        fs::last_write_time(host, old);
    }
    const auto remaining = [&] {
        return static_cast<int>(
            std::distance(fs::directory_iterator(Host("drive_c/jobs")), fs::directory_iterator()));
    };
    const auto sweep = [] { BCommon::RemoveStaleTemporaries("C:\\jobs"); };
    ldgr::test::FaultyFiles counting;
    {
        const platform::ScopedServices services({.files = &counting});
        sweep();
    }
    EXPECT_EQ(remaining(), kPlanted - 64);
    // 128 candidates and the folder's clock
    EXPECT_LE(counting.Calls(FileCall::Version) + counting.Calls(FileCall::Find), 129);
    for (int run = 0; run < 20 && remaining() > 0; ++run) {
        sweep();
    }
    EXPECT_EQ(remaining(), 0);
}

} // namespace
