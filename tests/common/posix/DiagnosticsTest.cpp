// The service-log probe and the rewrite made in place (hosted build only).
#include "ledgerline/common/Diagnostics.h"

#include "ledgerline/common/Environment.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/LockHolder.h"
#include "support/posix/Unprivileged.h"

#include <filesystem>
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

// A rewrite made in place, where the folder allows no new file, is told in the debug log.
TEST_F(Diagnostics, RewriteInPlaceIsToldInTheDebugLog) {
    namespace fs = std::filesystem;
    const std::string local = Host("drive_c/local");
    MakeHostFolders(local);
    fs::permissions(local, fs::perms::all);
    fs::permissions(Prefix(), fs::perms::all);
    Env().m_bDebugLog = true;
    Env().m_sLocalUserPath = "C:\\local\\";
    const std::pair<const char*, const char*> cases[] = {
        {"open", ""},
        {"locked",
         "ldgrmake: rewriting C:\\locked\\a.ini in place: its folder lets no new file replace "
         "it\r\n"},
    };
    for (const auto& [name, logged] : cases) {
        const std::string folder = Host("drive_c/") + name;
        MakeHostFolders(folder);
        WriteHostFile(folder + "/a.ini", "old");
        fs::permissions(folder + "/a.ini", static_cast<fs::perms>(0666));
        fs::permissions(folder, static_cast<fs::perms>(name == std::string("open") ? 0777 : 0555));
        fs::remove(local + "/ldgrmake.txt");
        const auto rewritten = ldgr::test::RunUnprivileged([&, &name = name] {
            auto file = BCommon::OpenRewrite(std::string("C:\\") + name + "\\a.ini");
            file->Write("new");
            file->Close();
            return ReadHostFile(folder + "/a.ini");
        });
        EXPECT_EQ(rewritten, "new") << name;
        EXPECT_EQ(HostExists(local + "/ldgrmake.txt") ? ReadHostFile(local + "/ldgrmake.txt") : "",
                  logged);
    }
}

} // namespace
