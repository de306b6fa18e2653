// The error type and the capture of the current error.
#include "ledgerline/platform/Error.h"

#include <gtest/gtest.h>

namespace {

TEST(Error, CurrentErrorKeepsNumberSourceAndDescription) {
    try {
        throw ldgr::Error(ldgr::kFileNotFound, "GetConfigFile");
    } catch (...) {
        const ldgr::Error error = ldgr::CurrentError();
        EXPECT_EQ(error.Number(), 53);
        EXPECT_EQ(error.Source(), "GetConfigFile");
        EXPECT_EQ(error.Description(), "File not found");
    }
}

TEST(Error, SharingViolationIsPermissionDenied) {
    const auto error = ldgr::Error::SharingViolation().WithSource("x");
    EXPECT_EQ(error.Number(), 70);
    EXPECT_TRUE(error.IsSharingViolation());
    EXPECT_FALSE(ldgr::Error(70).IsSharingViolation());
}

} // namespace
