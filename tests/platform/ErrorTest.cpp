// The error type and the capture of the current error.
#include "ledgerline/platform/Error.h"

#include <gtest/gtest.h>

namespace {

TEST(Error, CurrentErrorKeepsNumberSourceDescriptionAndSharingViolation) {
    try {
        throw ldgr::Error::SharingViolation().WithSource("GetConfigFile");
    } catch (...) {
        const ldgr::Error error = ldgr::CurrentError();
        EXPECT_EQ(error.Number(), 70);
        EXPECT_EQ(error.Source(), "GetConfigFile");
        EXPECT_EQ(error.Description(), "Permission denied");
        EXPECT_TRUE(error.IsSharingViolation());
    }
    EXPECT_FALSE(ldgr::Error(ldgr::kPermissionDenied).IsSharingViolation());
}

} // namespace
