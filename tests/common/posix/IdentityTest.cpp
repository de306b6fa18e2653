// Identity and the local product folder over a temporary prefix (hosted build only).
#include "common/Identity.h"

#include "common/Environment.h"
#include "platform/Platform.h"
#include "support/Forwarding.h"
#include "support/posix/HostedWorld.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Identity = ldgr::test::HostedWorld;

TEST_F(Identity, MachineNameFitsFifteenCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"PC1", "PC1"}, {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"}, {"ABCDEFGHIJKLMNOP", ""}};
    for (const auto& [name, result] : cases) {
        SetVariable("LDGR_COMPUTERNAME", name);
        EXPECT_EQ(BCommon::GetMachineName(), result) << name;
    }
}

TEST_F(Identity, RecentFolderIsInTheProfile) {
    SetVariable("LDGR_USERNAME", "alice");
    EXPECT_EQ(BCommon::GetSpecialFolder(8), "C:\\users\\alice\\Recent");
    EXPECT_EQ(BCommon::GetSpecialFolder(5), "");
    EXPECT_EQ(BCommon::GetSpecialFolder(-1), "");
}

TEST_F(Identity, LocalPathIsChosenAndCreated) {
    struct Case {
        const char* osVersion;
        const char* program; // host path of the program inside drive C:
        const char* local;
    };
    const Case cases[] = {{"4.10", "App/ldgrmake", "C:\\windows\\system32\\LdgrApp"},
                          {"4.90", "App/ldgrmake", "C:\\users\\alice\\LdgrApp"},
                          {"5.1", "KORVELK Group/ldgrmake", "C:\\KORVELK Group\\LdgrApp"}};
    SetVariable("LDGR_USERNAME", "alice");
    MakeHostFolders(Host("drive_c/users/alice"));
    MakeHostFolders(Host("drive_c/App"));
    MakeHostFolders(Host("drive_c/KORVELK Group"));
    for (const Case& c : cases) {
        StartAs(Host("drive_c/") + c.program);
        BCommon::Env().m_sOSVersion = c.osVersion;
        BCommon::Env().m_sSystemPath = "C:\\windows\\system32";
        EXPECT_EQ(BCommon::GetLocalPath(), c.local) << c.osVersion << " " << c.program;
        std::string folder = Host("drive_c/") + (c.local + 3);
        std::replace(folder.begin(), folder.end(), '\\', '/');
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << c.local;
        std::filesystem::remove(folder);
    }
}

// A system whose profile query gives a chosen answer.
struct ScriptedProfile final : ldgr::test::ForwardingSystemInfo {
    std::optional<std::string> profile;
    std::optional<std::string> UserProfileFolder(std::size_t) override { return profile; }
};

// A blank or missing profile means drive C:. The answer of the system ends at its first NUL,
// so "\0C:\x" is blank too; of a profile that is gone, one level only is created.
TEST_F(Identity, LocalPathInTheProfileTheSystemGives) {
    using namespace std::string_literals;
    SetVariable("LDGR_MSGBOX_LOG", Host("boxes.jsonl"));
    const std::pair<std::optional<std::string>, const char*> cases[] = {
        {std::nullopt, "C:\\LdgrApp"},
        {"   ", "C:\\LdgrApp"},
        {"\0C:\\x"s, "C:\\LdgrApp"},
        {"C:\\users\\gone", ""}};
    for (const auto& [profile, local] : cases) {
        ScriptedProfile system;
        system.profile = profile;
        const platform::ScopedServices use({.system = &system});
        EXPECT_EQ(BCommon::GetLocalPath(), local);
        EXPECT_EQ(std::filesystem::remove(Host("drive_c/LdgrApp")), *local != '\0');
    }
    EXPECT_NE(ReadHostFile(Host("boxes.jsonl")).find("in procedure 'GetLocalPath'"),
              std::string::npos);
    EXPECT_FALSE(HostExists(Host("drive_c/users/gone")));
}

// Another program makes the folder between the look-up and the creation, as copies started
// together on a fresh profile do.
class MadeMeanwhile final : public ldgr::test::ForwardingFiles {
public:
    void CreateFolder(const std::string& path) override {
        Underneath().CreateFolder(path);
        Underneath().CreateFolder(path);
    }
};

TEST_F(Identity, FolderMadeMeanwhileByAnotherProgramCountsAsMade) {
    SetVariable("LDGR_USERNAME", "alice");
    SetVariable("LDGR_MSGBOX_LOG", Host("boxes.jsonl"));
    MakeHostFolders(Host("drive_c/users/alice"));
    MadeMeanwhile files;
    const platform::ScopedServices use({.files = &files});
    EXPECT_EQ(BCommon::GetLocalPath(), "C:\\users\\alice\\LdgrApp");
    EXPECT_FALSE(HostExists(Host("boxes.jsonl")));
}

} // namespace
