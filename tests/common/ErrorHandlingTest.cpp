// Running out of memory, handles or disk space is never taken for an answer; a refusal is one.
#include "ledgerline/common/ErrorHandling.h"

#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

namespace {

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

} // namespace
