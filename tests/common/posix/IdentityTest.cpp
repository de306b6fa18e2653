// Identity and the local product folder over a temporary prefix (hosted build only).
#include "ledgerline/common/Identity.h"

#include "ledgerline/common/Environment.h"
#include "ledgerline/platform/Forwarding.h"
#include "ledgerline/platform/Platform.h"
#include "support/PlatformDoubles.h"
#include "support/posix/HostedWorld.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Identity = ldgr::test::HostedWorld;

TEST_F(Identity, MachineNameFitsFifteenCharacters) {
    SetVariable("LDGR_COMPUTERNAME", "ABCDEFGHIJKLMNO");
    EXPECT_EQ(BCommon::GetMachineName(), "ABCDEFGHIJKLMNO");
    SetVariable("LDGR_COMPUTERNAME", "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(BCommon::GetMachineName(), "");
}

TEST_F(Identity, LocalPathIsChosenAndCreated) {
    // The system's version, the program's host path inside drive C: and the local folder.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"4.10", "App/ldgrmake", "C:\\windows\\system32\\LdgrApp"},
        {"5.1", "KORVELK Group/ldgrmake", "C:\\KORVELK Group\\LdgrApp"}};
    SetVariable("LDGR_USERNAME", "alice");
    MakeHostFolders(Host("drive_c/App"));
    MakeHostFolders(Host("drive_c/KORVELK Group"));
    for (const auto& [osVersion, program, local] : cases) {
        StartAs(Host("drive_c/") + program);
        BCommon::Env().m_sOSVersion = osVersion;
        BCommon::Env().m_sSystemPath = "C:\\windows\\system32";
        EXPECT_EQ(BCommon::GetLocalPath(), local) << osVersion << " " << program;
        std::string folder = Host("drive_c/") + (local + 3);
        std::replace(folder.begin(), folder.end(), '\\', '/');
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << local;
    }
}

// A system whose profile query gives a chosen answer.
struct ScriptedProfile final : platform::ForwardingSystemInfo {
    std::optional<std::string> profile;
    std::optional<std::string> UserProfileFolder(std::size_t) override { return profile; }
};

// A blank or missing profile means drive C:; of a profile that is gone, only one level is made.
TEST_F(Identity, LocalPathInTheProfileTheSystemGives) {
    ldgr::test::RecordingDesktop desktop;
    const platform::ScopedServices quiet({.desktop = &desktop});
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {std::nullopt, "C:\\LdgrApp"}, {"   ", "C:\\LdgrApp"}, {"C:\\users\\gone", ""}};
    for (const auto& [profile, local] : cases) {
        ScriptedProfile system;
        system.profile = profile;
        const platform::ScopedServices use({.system = &system});
        EXPECT_EQ(BCommon::GetLocalPath(), local);
        EXPECT_EQ(std::filesystem::remove(Host("drive_c/LdgrApp")), *local != '\0');
    }
    ASSERT_EQ(desktop.boxes.size(), 1u);
    EXPECT_NE(desktop.boxes[0].text.find("in procedure 'GetLocalPath'"), std::string::npos);
    EXPECT_FALSE(HostExists(Host("drive_c/users/gone")));
}

} // namespace
