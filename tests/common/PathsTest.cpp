// Path and drive helpers over a temporary prefix (hosted build only): mapped drives, this
// computer's shares, file stamps and folder counts.
#include "common/Paths.h"

#include "FakeNetwork.h"
#include "common/Environment.h"
#include "platform/Platform.h"
#include "support/HostedWorld.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using ldgr::commontest::FakeNetwork;
using Paths = ldgr::test::HostedWorld;

TEST_F(Paths, AddBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"C:\\", "C:\\"}, {"C:\\dir", "C:\\dir\\"}, {"x:", "x:\\"}, {"\\\\", "\\\\"}};
    for (const auto& [path, result] : cases) {
        EXPECT_EQ(BCommon::AddBackslash(path), result) << path;
    }
}

TEST_F(Paths, NetworkPathOfConnectionsWithoutANameOrAnEnumeration) {
    FakeNetwork net;
    net.connections->push_back({std::nullopt, "\\\\srv\\printers"});
    net.MapDrive("W:", "");
    net.connections->push_back({"v:", std::nullopt});
    const platform::ScopedServices use({.network = &net});
    const std::pair<const char*, const char*> cases[] = {
        {"", "Drive Letter Not Found"}, // a connection without a local name is no drive
        {"w:", ""},
        {"V:", ""},
    };
    for (const auto& [drive, remote] : cases) {
        EXPECT_EQ(BCommon::GetNetworkPath(drive), remote) << drive;
    }
    EXPECT_EQ(BCommon::GetMappedDrivePath("\\\\srv\\data"), "\\\\srv\\data");
    net.connections = std::nullopt;
    EXPECT_EQ(BCommon::GetNetworkPath("w:"), "Drive Letter Not Found");
}

// Where the network comes from: a scripted double, or the hosted registry.
enum class NetworkWorld { Scripted, Registry };

// The registry of a workstation with the connections and shares of NetworkPaths.
constexpr const char* kRegistry = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Network\D]
"RemotePath"="\\\\srv\\common"

[HKEY_CURRENT_USER\Network\k]
"RemotePath"="\\\\srv\\data"

[HKEY_CURRENT_USER\Network\M]
"RemotePath"="\\\\MYPC\\data"

[HKEY_CURRENT_USER\Network\T]
"RemotePath"="\\\\srv\\data2"

[HKEY_CURRENT_USER\Network\Y]
"RemotePath"="\\\\srv\\data"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\LanmanServer\Shares]
"DATA"=hex(7):4d,00,61,00,78,00,55,00,73,00,65,00,73,00,3d,00,34,00,32,00,39,00,34,00,\
  39,00,36,00,37,00,32,00,39,00,35,00,00,00,50,00,61,00,74,00,68,00,3d,00,\
  43,00,3a,00,5c,00,73,00,68,00,61,00,72,00,65,00,73,00,5c,00,64,00,61,00,\
  74,00,61,00,00,00,54,00,79,00,70,00,65,00,3d,00,30,00,00,00,00,00
"PUBLIC"="Path=C:\\shares\\public"
)";

// The network of these tests: this computer MYPC shares C:\shares\data as DATA and
// C:\shares\public as PUBLIC; drive M: is connected to its DATA, drives D:, K:, T: and Y:
// to shares of the server srv, whose folders lie in the prefix.
class NetworkPaths : public ldgr::test::HostedWorld,
                     public testing::WithParamInterface<NetworkWorld> {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        BCommon::Env().m_sMachineName = "MYPC";
        if (GetParam() == NetworkWorld::Scripted) {
            for (const char* drive : {"D:\\\\srv\\common", "K:\\\\srv\\data", "M:\\\\MYPC\\data",
                                      "t:\\\\srv\\data2", "Y:\\\\srv\\data"}) {
                m_net.MapDrive(std::string(drive, 2), drive + 2);
            }
            m_net.shares["DATA"] = "C:\\shares\\data";
            m_net.shares["PUBLIC"] = "C:\\shares\\public";
            m_use.emplace(platform::Services{.network = &m_net});
        } else {
            SetVariable("LDGR_COMPUTERNAME", "MYPC");
            WriteHostFile(Host("registry.reg"), kRegistry);
        }
        MakeHostFolders(Host("drive_c/shares/data/sub"));
        WriteHostFile(Host("drive_c/shares/data/sub/config.ini"), "x");
        MakeHostFolders(Host("drive_c/shares/public"));
        MakeHostFolders(Host("drive_c/local"));
        WriteHostFile(Host("drive_c/local/config.ini"), "x");
        MakeHostFolders(Host("dosdevices/unc/srv/data/cfg"));
        WriteHostFile(Host("dosdevices/unc/srv/data/cfg/config.ini"), "x");
    }
    void TearDown() override {
        m_use.reset();
        HostedWorld::TearDown();
    }

    FakeNetwork m_net;
    std::optional<platform::ScopedServices> m_use;
};

INSTANTIATE_TEST_SUITE_P(Worlds, NetworkPaths,
                         testing::Values(NetworkWorld::Scripted, NetworkWorld::Registry),
                         [](const auto& info) {
                             return info.param == NetworkWorld::Scripted ? "Scripted" : "Registry";
                         });

TEST_P(NetworkPaths, NetworkPathOfADrive) {
    const std::pair<const char*, const char*> cases[] = {
        {"k:", "\\\\srv\\data"},
        {"T:", "\\\\srv\\data2"}, // letter case ignored on both sides
        {"x:", "Drive Letter Not Found"},
        {"k", "Drive Letter Not Found"},
    };
    for (const auto& [drive, remote] : cases) {
        EXPECT_EQ(BCommon::GetNetworkPath(drive), remote) << drive;
    }
}

TEST_P(NetworkPaths, MappedDrivePathPrefersTheFirstLetterOfTheWholeShare) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\srv\\data", "k:\\"}, // K: and Y: both map it: the first letter
        {"\\\\SRV\\DATA\\x\\a.ini", "k:\\x\\a.ini"},
        {"\\\\srv\\data2\\a.ini", "t:\\a.ini"}, // not k:, whose share only begins the name
        {"\\\\srv\\data3\\a.ini", "\\\\srv\\data3\\a.ini"},
        {"\\\\srv\\common\\", "d:\\"},
        {"\\\\mypc\\data\\sub", "m:\\sub"},
        {"\\\\other\\data\\a.ini", "\\\\other\\data\\a.ini"},
        {"C:\\local", "C:\\local"},
    };
    for (const auto& [path, mapped] : cases) {
        EXPECT_EQ(BCommon::GetMappedDrivePath(path), mapped) << path;
    }
}

TEST_P(NetworkPaths, SharePathOfThisComputer) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\MYPC\\data\\sub\\", "C:\\shares\\data\\sub\\"},
        {"\\\\mypc\\Data\\sub\\config.ini", "C:\\shares\\data\\sub\\config.ini"},
        {"\\\\MYPC\\data", "C:\\shares\\data"},
        {"\\\\MYPC\\public\\", "C:\\shares\\public\\"},
        {"\\\\MYPC\\nope\\sub", ""},
        {"\\\\OTHER\\data\\sub", ""},
        {"\\\\MYPC", ""},
        {"", ""},
    };
    for (const auto& [path, local] : cases) {
        EXPECT_EQ(BCommon::GetSharePath(path), local) << path;
    }
}

TEST_P(NetworkPaths, AbsolutePathIsTheSameOnEveryWorkstation) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\local\\config.ini", "C:\\local\\config.ini"},
        {"C:\\local\\missing.ini", "C:\\local\\missing.ini"},
        {"k:\\cfg\\config.ini", "\\\\srv\\data\\cfg\\config.ini"},
        {"K:\\cfg", "\\\\srv\\data\\cfg"},
        {"k:\\cfg\\missing.ini", "k:\\cfg\\missing.ini"},
        {"m:\\sub\\config.ini", "C:\\shares\\data\\sub\\config.ini"},
        {"\\\\MYPC\\data\\sub\\config.ini", "C:\\shares\\data\\sub\\config.ini"},
        {"\\\\mypc\\DATA\\sub\\", "C:\\shares\\data\\sub\\"},
        {"\\\\MYPC\\nope\\config.ini", "\\\\MYPC\\nope\\config.ini"},
        // MYPC2 contains this computer's name; its share is not found here, so it stays.
        {"\\\\MYPC2\\data\\sub\\config.ini", "\\\\MYPC2\\data\\sub\\config.ini"},
        {"\\\\nosrv\\x\\y.ini", "\\\\nosrv\\x\\y.ini"},
    };
    for (const auto& [path, absolute] : cases) {
        EXPECT_EQ(BCommon::GetAbsolutePath(path), absolute) << path;
    }
}

TEST_P(NetworkPaths, AbsolutePathOfANameInTheCurrentFolderGetsABackslash) {
    std::filesystem::current_path(Host("drive_c/local"));
    EXPECT_EQ(BCommon::GetAbsolutePath("config.ini"), "config.ini\\");
    EXPECT_EQ(BCommon::GetAbsolutePath("missing.ini"), "missing.ini");
}

TEST_F(Paths, FileStampSumsTheHalvesOfTheLastWriteTime) {
    MakeHostFolders(Host("drive_c/stamps/folder"));
    struct Case {
        const char* file; // in C:\\stamps
        timespec mtime;   // FILETIME high half 0x01DA0000
        std::int32_t stamp;
    };
    const Case cases[] = {
        {"small.ini", {1697440326, 627084000}, 336483960},   // low 0x12345678
        {"wraps.ini", {1697440510, 833433600}, -2116419840}, // low 0x7FFFFF00
    };
    for (const Case& c : cases) {
        const std::string path = Host("drive_c/stamps/") + c.file;
        WriteHostFile(path, "x");
        const timespec times[2] = {c.mtime, c.mtime};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        EXPECT_EQ(BCommon::GetFileStamp(std::string("C:\\stamps\\") + c.file), c.stamp);
    }
    const std::pair<const char*, std::int32_t> more[] = {
        {"C:\\stamps\\w*.ini", -2116419840},
        {"C:\\stamps\\missing.ini", 0},
        {"C:\\stamps\\small.ini\\\\", 336483960},
    };
    for (const auto& [path, stamp] : more) {
        EXPECT_EQ(BCommon::GetFileStamp(path), stamp) << path;
    }
    EXPECT_NE(BCommon::GetFileStamp("C:\\stamps\\folder\\"), 0);
}

TEST_F(Paths, CountFolderEntriesCountsVisibleNames) {
    MakeHostFolders(Host("drive_c/data/Machines/PC1"));
    MakeHostFolders(Host("drive_c/data/Machines/PC2"));
    MakeHostFolders(Host("drive_c/data/Machines/.cache"));
    WriteHostFile(Host("drive_c/data/Machines/notes.txt"), "x");
    WriteHostFile(Host("drive_c/data/Machines/ "), "x");
    MakeHostFolders(Host("drive_c/data/users"));
    const std::pair<const char*, int> cases[] = {
        {"C:\\data\\machines\\*", 3}, {"C:\\data\\Machines\\PC*", 2}, {"C:\\data\\users\\*", 0},
        {"C:\\data\\nowhere\\*", 0},  {"C:\\data\\Machines\\x*", 0},  {"", 0},
    };
    for (const auto& [pattern, count] : cases) {
        EXPECT_EQ(BCommon::CountFolderEntries(pattern), count) << pattern;
    }
}

} // namespace
