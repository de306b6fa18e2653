// Identity and the local product folder over a temporary prefix (hosted build only).
#include "common/Identity.h"

#include "HostedWorld.h"
#include "common/Environment.h"

#include <gtest/gtest.h>

namespace {

using ldgr::commontest::ReadHostFile;
using ldgr::commontest::ScopedEnv;
using ldgr::commontest::TempPrefix;

TEST(Identity, TrimNullCutsAtTheFirstNul) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"}, {"name\0\0\0"s, "name"}, {"\0name"s, ""}, {"", ""}, {"a\0b\0c"s, "a"}};
    for (const auto& [text, trimmed] : cases) {
        EXPECT_EQ(BCommon::TrimNull(text), trimmed);
    }
}

TEST(Identity, MachineNameFitsFifteenCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"PC1", "PC1"}, {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"}, {"ABCDEFGHIJKLMNOP", ""}};
    for (const auto& [name, result] : cases) {
        const ScopedEnv computer("LDGR_COMPUTERNAME", name);
        EXPECT_EQ(BCommon::GetMachineName(), result) << name;
    }
}

TEST(Identity, RecentFolderIsInTheProfile) {
    const TempPrefix prefix;
    const ScopedEnv user("LDGR_USERNAME", "alice");
    EXPECT_EQ(BCommon::GetSpecialFolder(8), "C:\\users\\alice\\Recent");
    EXPECT_EQ(BCommon::GetSpecialFolder(5), "");
    EXPECT_EQ(BCommon::GetSpecialFolder(-1), "");
}

TEST(Identity, LocalPathIsChosenAndCreated) {
    struct Case {
        const char* osVersion;
        const char* program; // host path of the program, relative to the prefix
        const char* local;
    };
    const Case cases[] = {
        {"4.10", "drive_c/App/ldgrmake", "C:\\windows\\system32\\LdgrApp"},
        {"4.0", "drive_c/App/ldgrmake", "C:\\users\\alice\\LdgrApp"},
        {"4.90", "drive_c/App/ldgrmake", "C:\\users\\alice\\LdgrApp"},
        {"5.1", "drive_c/App/ldgrmake", "C:\\users\\alice\\LdgrApp"},
        {"(unknown)", "drive_c/App/ldgrmake", "C:\\users\\alice\\LdgrApp"},
        {"5.1", "drive_c/Program Files/KORVELK Group/ldgrmake",
         "C:\\Program Files\\KORVELK Group\\LdgrApp"},
    };
    for (const Case& c : cases) {
        const TempPrefix prefix(c.program);
        const ScopedEnv user("LDGR_USERNAME", "alice");
        prefix.MakeFolder("users\\alice");
        prefix.MakeFolder("Program Files\\KORVELK Group");
        BCommon::Env().m_sOSVersion = c.osVersion;
        BCommon::Env().m_sSystemPath = "C:\\windows\\system32";
        EXPECT_EQ(BCommon::GetLocalPath(), c.local) << c.osVersion << " " << c.program;
        EXPECT_TRUE(std::filesystem::is_directory(prefix.OnDriveC(std::string(c.local).substr(3))))
            << c.local;
    }
}

TEST(Identity, ExistingLocalFolderIsKept) {
    const TempPrefix prefix;
    const ScopedEnv user("LDGR_USERNAME", "alice");
    prefix.MakeFolder("users\\alice\\LdgrApp");
    const auto kept = prefix.WriteFile("users\\alice\\LdgrApp\\ldgrmake.txt", "earlier lines");
    BCommon::Env().m_sOSVersion = "10.0";
    EXPECT_EQ(BCommon::GetLocalPath(), "C:\\users\\alice\\LdgrApp");
    EXPECT_EQ(ReadHostFile(kept), "earlier lines");
}

// A profile the system does not know falls back to the root of drive C:.
class NoProfile final : public platform::SystemInfo {
public:
    std::string SystemFolder(std::size_t) override { return "C:\\windows\\system32"; }
    std::optional<platform::OSVersion> Version() override { return platform::OSVersion{10, 0}; }
    std::optional<std::string> UserName(std::size_t) override { return "alice"; }
    std::optional<std::string> ComputerName(std::size_t) override { return "PC1"; }
    std::optional<std::string> UserProfileFolder(std::size_t) override { return m_profile; }
    std::optional<std::string> SpecialFolder(int) override { return std::nullopt; }
    std::optional<std::string> m_profile;
};

TEST(Identity, BlankOrMissingProfileMeansDriveC) {
    using namespace std::string_literals;
    for (const auto& profile :
         {std::optional<std::string>(), std::optional("   "s), std::optional("\0C:\\users\\x"s)}) {
        const TempPrefix prefix;
        NoProfile system;
        system.m_profile = profile;
        const platform::ScopedServices use({.system = &system});
        EXPECT_EQ(BCommon::GetLocalPath(), "C:\\LdgrApp");
        EXPECT_TRUE(std::filesystem::is_directory(prefix.OnDriveC("LdgrApp")));
    }
}

TEST(Identity, FolderThatCannotBeCreatedIsReported) {
    const TempPrefix prefix;
    const auto log = prefix.Folder() / "boxes.jsonl";
    const ScopedEnv boxes("LDGR_MSGBOX_LOG", log.string());
    NoProfile system;
    system.m_profile = "C:\\users\\gone"; // parent missing: one level only is created
    const platform::ScopedServices use({.system = &system});
    EXPECT_EQ(BCommon::GetLocalPath(), "");
    const auto shown = ReadHostFile(log);
    ASSERT_TRUE(shown.has_value());
    EXPECT_NE(shown->find("in procedure 'GetLocalPath'"), std::string::npos) << *shown;
    EXPECT_FALSE(std::filesystem::exists(prefix.OnDriveC("users\\gone")));
}

} // namespace
