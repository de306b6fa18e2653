// Path and drive helpers over a temporary prefix (hosted build only).
#include "ledgerline/common/Paths.h"

#include "common/FakeNetwork.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Platform.h"
#include "support/FaultyFiles.h"
#include "support/posix/HostedWorld.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace {

using ldgr::test::FakeNetwork;
using Paths = ldgr::test::HostedWorld;

// What a path function makes of each argument.
template <typename Result>
void ExpectEach(Result (*function)(const std::string&),
                std::initializer_list<std::pair<const char*, Result>> cases) {
    for (const auto& [argument, expected] : cases) {
        EXPECT_EQ(function(argument), expected) << argument;
    }
}

// MYPC shares C:\shares\data as DATA (drive M:); D:, K:, T:, Y: are shares of srv in the
// prefix; the first three connections lack a local name or a remote path, as some report them.
class NetworkPaths : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        BCommon::Env().m_sMachineName = "MYPC";
        m_net.connections = std::vector<platform::NetConnection>{
            {std::nullopt, "\\\\srv\\printers"}, {"W:", ""}, {"v:", std::nullopt}};
        for (const char* drive : {"D:\\\\srv\\common", "K:\\\\srv\\data", "M:\\\\MYPC\\data",
                                  "t:\\\\srv\\data2", "Y:\\\\srv\\data"}) {
            m_net.MapDrive(std::string(drive, 2), drive + 2);
        }
        m_net.shares["DATA"] = "C:\\shares\\data";
        m_use.emplace(platform::Services{.network = &m_net});
        for (const char* folder :
             {"drive_c/shares/data/sub", "drive_c/local", "dosdevices/unc/srv/data/cfg"}) {
            MakeHostFolders(Host(folder));
            WriteHostFile(Host(folder) + "/config.ini", "x");
        }
    }
    void TearDown() override {
        m_use.reset();
        HostedWorld::TearDown();
    }

    FakeNetwork m_net;
    std::optional<platform::ScopedServices> m_use;
};

// The first letter of a whole share; letter case ignored; this computer's shares as folders.
TEST_F(NetworkPaths, DrivesSharesAndAbsolutePaths) {
    const auto network = BCommon::GetNetworkPath;
    const auto mapped = BCommon::GetMappedDrivePath;
    const auto share = BCommon::GetSharePath;
    const auto absolute = BCommon::GetAbsolutePath;
    const std::tuple<std::string (*)(const std::string&), const char*, const char*> cases[] = {
        {network, "k:", "\\\\srv\\data"},
        {network, "T:", "\\\\srv\\data2"},
        {network, "x:", "Drive Letter Not Found"},
        {network, "", "Drive Letter Not Found"}, // a connection without a local name is no drive
        {network, "w:", ""},
        {network, "V:", ""},
        {mapped, "\\\\srv\\data", "k:\\"}, // K: and Y: both map it: the first letter
        {mapped, "\\\\SRV\\DATA\\x\\a.ini", "k:\\x\\a.ini"},
        {mapped, "\\\\srv\\data2\\a.ini", "t:\\a.ini"}, // not k:, whose share only begins it
        {mapped, "\\\\srv\\common\\", "d:\\"},
        {mapped, "\\\\mypc\\data\\sub", "m:\\sub"},
        {mapped, "\\\\other\\data\\a.ini", "\\\\other\\data\\a.ini"},
        {mapped, "C:\\local", "C:\\local"},
        {share, "\\\\MYPC\\data\\sub\\", "C:\\shares\\data\\sub\\"},
        {share, "\\\\mypc\\Data\\sub\\config.ini", "C:\\shares\\data\\sub\\config.ini"},
        {share, "\\\\MYPC\\data", "C:\\shares\\data"},
        {share, "\\\\MYPC\\nope\\sub", ""},
        {share, "\\\\OTHER\\data\\sub", ""},
        {share, "\\\\MYPC", ""},
        {share, "", ""},
        {absolute, "C:\\local\\config.ini", "C:\\local\\config.ini"},
        {absolute, "k:\\cfg\\config.ini", "\\\\srv\\data\\cfg\\config.ini"},
        {absolute, "k:\\cfg\\missing.ini", "k:\\cfg\\missing.ini"},
        {absolute, "m:\\sub\\config.ini", "C:\\shares\\data\\sub\\config.ini"},
        {absolute, "\\\\MYPC\\data\\sub\\config.ini", "C:\\shares\\data\\sub\\config.ini"},
        {absolute, "\\\\mypc\\DATA\\sub\\", "C:\\shares\\data\\sub\\"},
        {absolute, "\\\\MYPC\\nope\\config.ini", "\\\\MYPC\\nope\\config.ini"},
        // MYPC2 contains this computer's name; its share is not found here, so it stays.
        {absolute, "\\\\MYPC2\\data\\sub\\config.ini", "\\\\MYPC2\\data\\sub\\config.ini"}};
    for (const auto& [helper, argument, expected] : cases) {
        EXPECT_EQ(helper(argument), expected) << argument;
    }
    m_net.connections = std::nullopt; // the enumeration fails
    EXPECT_EQ(BCommon::GetNetworkPath("k:"), "Drive Letter Not Found");
}

TEST_F(Paths, FileStampSumsTheHalvesOfTheLastWriteTime) {
    MakeHostFolders(Host("drive_c/stamps"));
    const std::string path = Host("drive_c/stamps/wraps.ini");
    WriteHostFile(path, "x");
    // FILETIME 0x01DA0000 7FFFFF00: the sum of the halves wraps past the largest Long.
    const timespec times[2] = {{1697440510, 833433600}, {1697440510, 833433600}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ExpectEach<std::int32_t>(BCommon::GetFileStamp, {{"C:\\stamps\\wraps.ini", -2116419840},
                                                     {"C:\\stamps\\w*.ini", -2116419840},
                                                     {"C:\\stamps\\wraps.ini\\\\", -2116419840},
                                                     {"C:\\stamps\\missing.ini", 0}});
}

TEST_F(Paths, CountFolderEntriesCountsVisibleNames) {
    MakeHostFolders(Host("drive_c/data/Machines/PC1"));
    MakeHostFolders(Host("drive_c/data/Machines/PC2"));
    MakeHostFolders(Host("drive_c/data/Machines/.cache"));
    WriteHostFile(Host("drive_c/data/Machines/notes.txt"), "x");
    WriteHostFile(Host("drive_c/data/Machines/ "), "x");
    ExpectEach<std::int16_t>(BCommon::CountFolderEntries, {{"C:\\data\\machines\\*", 3},
                                                           {"C:\\data\\Machines\\PC*", 2},
                                                           {"C:\\data\\nowhere\\*", 0},
                                                           {"", 0}});
}

// A listing that breaks off counts nothing; running out of handles there is raised.
TEST_F(Paths, CountFolderEntriesWhenTheListingBreaksOff) {
    for (const char* name : {"a", "b", "c", "d"}) {
        WriteHostFile(Host("drive_c/four/") + name + ".txt", "x");
    }
    for (const std::int32_t error : {ldgr::kPermissionDenied, ldgr::kTooManyFiles}) {
        SCOPED_TRACE(ldgr::DescriptionOf(error));
        ldgr::test::FaultyFiles files;
        files.Fail(ldgr::test::FileCall::ListEntry, 3, error);
        const platform::ScopedServices services({.files = &files});
        if (error == ldgr::kPermissionDenied) {
            EXPECT_EQ(BCommon::CountFolderEntries("C:\\four\\*.txt"), 0);
        } else {
            EXPECT_THROW(BCommon::CountFolderEntries("C:\\four\\*.txt"), ldgr::Error);
        }
    }
}

} // namespace
