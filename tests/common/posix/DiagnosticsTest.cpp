// The service-log probe (hosted build only).
#include "ledgerline/common/Diagnostics.h"

#include "ledgerline/common/Environment.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/LockHolder.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

using BCommon::Env;
using ldgr::test::LockHolder;
using Diagnostics = ldgr::test::HostedWorld;

// Locked only while another program holds the log; the probe never creates it.
TEST_F(Diagnostics, ServiceLogIsLockedOnlyWhileAnotherProgramHoldsIt) {
    const std::string log = ProgramFolder() + "/ldgrsrvc.txt";
    Env().m_bServiceLogLocked = true;
    EXPECT_FALSE(BCommon::IsServiceLogLocked());
    EXPECT_FALSE(HostExists(log));
    WriteHostFile(log, "service lines\r\n");
    for (const std::optional<LockHolder::Kind> kind :
         {std::optional<LockHolder::Kind>(), std::optional(LockHolder::Kind::Shared),
          std::optional(LockHolder::Kind::Exclusive)}) {
        std::optional<LockHolder> holder;
        if (kind) {
            holder.emplace(log, *kind);
            ASSERT_TRUE(holder->Holding());
        }
        Env().m_bServiceLogLocked = !kind;
        EXPECT_EQ(BCommon::IsServiceLogLocked(), kind.has_value());
        EXPECT_EQ(Env().m_bServiceLogLocked, kind.has_value());
    }
    EXPECT_EQ(ReadHostFile(log), "service lines\r\n");
}

} // namespace
