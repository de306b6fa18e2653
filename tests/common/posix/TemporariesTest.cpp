// The sweep of the suite's stale temporary files (hosted build only: real files whose
// last-write times the test sets).
#include "common/Temporaries.h"

#include "platform/Platform.h"
#include "support/posix/HostedWorld.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using Sweep = ldgr::test::HostedWorld;

// Each name made old (eleven minutes) and new (nine minutes); whether the old one goes. The
// end-to-end runs show the common names; these are the edges of each kind.
TEST_F(Sweep, OnlyTheSuitesOwnTemporariesOlderThanTenMinutesGo) {
    const std::pair<const char*, bool> cases[] = {
        {"~JOB18446744073709551615.TMP", true},
        {"TEST-0123456789ABCDEF.TXT", true},
        {".LdgrCopy.a.b.Tmp", true},
        {"~job.tmp", false},
        {"~job1x.tmp", false},
        {"~job1.tmp.bak", false},
        {"test-0123456789abcdeg.txt", false},
        {"test-0123456789abcdef0.txt", false},
        {"test.txt", false},
        {".ldgrcopy..tmp", false},
        {"ldgrcopy.1.tmp", false},
        {"1.prt", false},
    };
    const std::string folder = Host("drive_c/jobs");
    const auto now = fs::file_time_type::clock::now();
    for (const auto& [name, stale] : cases) {
        for (const auto& [age, prefix] : {std::pair{std::chrono::minutes(11), "old"},
                                          std::pair{std::chrono::minutes(9), "new"}}) {
            const std::string path = folder + "/" + prefix + "/" + name;
            MakeHostFolders(folder + "/" + prefix);
            WriteHostFile(path, "content");
            fs::last_write_time(path, now - age);
        }
    }
    // A folder named like a temporary is no temporary.
    MakeHostFolders(folder + "/old/~job9.tmp");
    fs::last_write_time(folder + "/old/~job9.tmp", now - std::chrono::hours(1));

    for (const char* prefix : {"old", "new"}) {
        const std::string windows = std::string("C:\\jobs\\") + prefix;
        BCommon::RemoveStaleTemporaries(
            windows,
            platform::Files().FindAllUnordered(windows + "\\*", platform::FindDetail::Attributes));
    }
    for (const auto& [name, stale] : cases) {
        EXPECT_EQ(HostExists(folder + "/old/" + name), !stale) << name;
        EXPECT_TRUE(HostExists(folder + "/new/" + name)) << name;
    }
    EXPECT_TRUE(HostExists(folder + "/old/~job9.tmp"));
}

} // namespace
