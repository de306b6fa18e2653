// Running out of memory, handles or disk space is never taken for an answer; a refusal is one.
#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Access.h"
#include "ledgerline/common/Diagnostics.h"
#include "ledgerline/common/ErrorHandling.h"
#include "support/ErrorOf.h"
#include "support/FaultyFiles.h"
#include "support/posix/HostedWorld.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <new>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;
using ResourceLimits = ldgr::test::HostedWorld;

TEST(SkipFailingStep, LetsOnlyTheSystemRunningOutThrough) {
    struct Case {
        const char* name;
        std::function<void()> fail;
        bool escapes;
    };
    const Case cases[] = {
        {.name = "53", .fail = [] { throw ldgr::Error(ldgr::kFileNotFound); }, .escapes = false},
        {.name = "other", .fail = [] { throw std::runtime_error("x"); }, .escapes = false},
        {.name = "7", .fail = [] { throw ldgr::Error(ldgr::kOutOfMemory); }, .escapes = true},
        {.name = "bad_alloc", .fail = [] { throw std::bad_alloc(); }, .escapes = true},
        {.name = "61", .fail = [] { throw ldgr::Error(ldgr::kDiskFull); }, .escapes = true},
        {.name = "67", .fail = [] { throw ldgr::Error(ldgr::kTooManyFiles); }, .escapes = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.escapes) {
            EXPECT_ANY_THROW(BCommon::SkipFailingStep(c.fail));
        } else {
            EXPECT_FALSE(BCommon::SkipFailingStep(c.fail));
        }
        EXPECT_NO_THROW(BCommon::IgnoreFailures(c.fail));
    }
}

// A refused read is an answer; running out is raised, and the probe leaves no test file.
TEST_F(ResourceLimits, AreRaisedWhereARefusalIsAnAnswer) {
    MakeHostFolders(Host("drive_c/open"));
    WriteHostFile(Host("drive_c/open/a.ini"), "[A]\r\nk=1\r\n");
    const std::pair<const char*, std::function<std::string()>> asked[] = {
        {"GetFolderAccess", [] { return BCommon::GetFolderAccess("C:\\open"); }},
        {"GetFileAccess", [] { return BCommon::GetFileAccess("C:\\open\\a.ini"); }},
        {"IsServiceLogLocked", [] { return std::to_string(BCommon::IsServiceLogLocked()); }},
        {"OpenIni", [] { return std::to_string(KorvaneIni::OpenIni("C:\\open\\a.ini")); }},
    };
    const std::string refusedAnswers[] = {"writelistdelete", "writelist", "0", "0"};
    for (const std::int32_t error :
         {ldgr::kPermissionDenied, ldgr::kTooManyFiles, ldgr::kOutOfMemory}) {
        ldgr::test::FaultyFiles files;
        files.Fail(ldgr::test::FileCall::OpenToRead, 1, error, files.kEvery);
        const platform::ScopedServices services({.files = &files});
        for (std::size_t i = 0; i < std::size(asked); ++i) {
            SCOPED_TRACE(std::string(asked[i].first) + " meeting " + std::to_string(error));
            KorvaneIni::ForgetParsedFiles();
            if (error == ldgr::kPermissionDenied) {
                EXPECT_EQ(asked[i].second(), refusedAnswers[i]);
            } else {
                EXPECT_EQ(ldgr::test::ErrorOf(asked[i].second), error);
            }
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(Host("drive_c/open")), {}), 1)
            << "only a.ini";
    }
}

} // namespace
