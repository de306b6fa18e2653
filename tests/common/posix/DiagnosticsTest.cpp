// The debug log, the error report and the service-log probe (hosted: real files, a second
// process holding the log, a recording desktop for the report's box).
#include "common/Diagnostics.h"

#include "common/Environment.h"
#include "config/ConfigDoubles.h"
#include "platform/Error.h"
#include "platform/Platform.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/LockHolder.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>

namespace {

using BCommon::Env;
using ldgr::test::LockHolder;

class Diagnostics : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        MakeHostFolders(Host("drive_c/users/Anna/LdgrApp"));
        Env().m_sLocalUserPath = "C:\\users\\Anna\\LdgrApp\\";
        Env().m_sProductName = "Ledgerline";
        Env().m_sSupportPhone = "+1 555 0100";
    }

    std::string DebugLog() const { return Host("drive_c/users/Anna/LdgrApp/ldgrmake.txt"); }
    std::string ServiceLog() const { return ProgramFolder() + "/ldgrsrvc.txt"; }
};

// Lines only while logging is on; a log another program holds loses the line, and the run
// goes on.
TEST_F(Diagnostics, DebugLogLines) {
    BCommon::WriteDebugLog("off");
    EXPECT_FALSE(HostExists(DebugLog())) << "logging off touches no file";
    Env().m_bDebugLog = true;
    BCommon::WriteDebugLog("");
    BCommon::WriteDebugLog("first\r\nsecond");
    const std::string lines = "ldgrmake: \r\nldgrmake: first\r\nsecond\r\n";
    EXPECT_EQ(ReadHostFile(DebugLog()), lines);
    const LockHolder holder(DebugLog(), LockHolder::Kind::Exclusive);
    ASSERT_TRUE(holder.Holding());
    EXPECT_NO_THROW(BCommon::WriteDebugLog("lost"));
    EXPECT_EQ(ReadHostFile(DebugLog()), lines);
}

TEST_F(Diagnostics, ReportShowsTheCurrentErrorInOneWarningBoxAndLeavesItCurrent) {
    struct Case {
        std::function<void()> fail;
        const char* procedure;
        std::int32_t number;
        const char* text;
    };
    const Case cases[] = {
        {[] { throw ldgr::Error(53, "GetConfigFile"); }, "GetConfigFile", 53,
         "Unexpected error 53 in procedure 'GetConfigFile':\rFile not found"},
        {[] { throw ldgr::Error::SharingViolation(); }, "CPrinterGroup::WriteIniFile", 70,
         "Unexpected error 70 in procedure 'CPrinterGroup::WriteIniFile':\rPermission denied"},
        {[] { throw std::runtime_error("bad state"); }, "", 5,
         "Unexpected error 5 in procedure '':\rbad state"}};
    Env().m_bDebugLog = true;
    ldgr::test::RecordingDesktop desktop;
    const platform::ScopedServices scoped({.desktop = &desktop});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        desktop.boxes.clear();
        try {
            c.fail();
        } catch (...) {
            BCommon::ReportError(c.procedure);
            EXPECT_EQ(ldgr::CurrentError().Number(), c.number);
        }
        ASSERT_EQ(desktop.boxes.size(), 1u);
        EXPECT_EQ(desktop.boxes[0].title, "Ledgerline");
        EXPECT_EQ(desktop.boxes[0].style, 48);
        EXPECT_EQ(desktop.boxes[0].text,
                  std::string(c.text) +
                      "\r\rPlease contact us at\r+1 555 0100 with the above information.");
    }
    EXPECT_FALSE(HostExists(DebugLog())) << "the report writes no log line";
}

TEST_F(Diagnostics, ServiceLogIsLockedOnlyWhileAnotherProgramHoldsIt) {
    WriteHostFile(ServiceLog(), "service lines\r\n");
    for (const std::optional<LockHolder::Kind> kind :
         {std::optional<LockHolder::Kind>(), std::optional(LockHolder::Kind::Shared),
          std::optional(LockHolder::Kind::Exclusive)}) {
        std::optional<LockHolder> holder;
        if (kind) {
            holder.emplace(ServiceLog(), *kind);
            ASSERT_TRUE(holder->Holding());
        }
        Env().m_bServiceLogLocked = !kind;
        EXPECT_EQ(BCommon::IsServiceLogLocked(), kind.has_value());
        EXPECT_EQ(Env().m_bServiceLogLocked, kind.has_value());
    }
    EXPECT_EQ(ReadHostFile(ServiceLog()), "service lines\r\n");
}

TEST_F(Diagnostics, ServiceLogThatCannotBeOpenedIsNotLockedAndIsNeverCreated) {
    // Missing, a folder of that name, or a program folder that is gone: false, and nothing is
    // created. A program in a drive root finds its log there.
    Env().m_bServiceLogLocked = true;
    EXPECT_FALSE(BCommon::IsServiceLogLocked());
    EXPECT_FALSE(Env().m_bServiceLogLocked);
    EXPECT_FALSE(HostExists(ServiceLog()));
    MakeHostFolders(ServiceLog());
    EXPECT_FALSE(BCommon::IsServiceLogLocked());
    StartAs(Host("drive_c/gone/ldgrmake"));
    EXPECT_FALSE(BCommon::IsServiceLogLocked());
    EXPECT_FALSE(HostExists(Host("drive_c/gone")));
    StartAs(Host("drive_c/ldgrmake"));
    WriteHostFile(Host("drive_c/ldgrsrvc.txt"), "");
    const LockHolder holder(Host("drive_c/ldgrsrvc.txt"), LockHolder::Kind::Shared);
    EXPECT_TRUE(BCommon::IsServiceLogLocked());
}

} // namespace
