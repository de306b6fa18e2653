// Path and drive helpers over a temporary prefix (hosted build only): mapped drives, this
// computer's shares, file stamps and folder counts.
#include "common/Paths.h"

#include "FakeNetwork.h"
#include "HostedWorld.h"
#include "common/Environment.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using ldgr::commontest::FakeNetwork;
using ldgr::commontest::TempPrefix;

TEST(Paths, AddBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""}, {"C:\\", "C:\\"}, {"C:\\dir", "C:\\dir\\"}, {"x:", "x:\\"}, {"\\\\", "\\\\"}};
    for (const auto& [path, result] : cases) {
        EXPECT_EQ(BCommon::AddBackslash(path), result) << path;
    }
}

// The network of these tests: this computer MYPC shares C:\shares\data as DATA; drives D:,
// K:, T: and Y: are connected to shares of the server srv, whose folders lie in the prefix.
class NetworkPaths : public testing::Test {
protected:
    NetworkPaths() {
        m_net.MapDrive("D:", "\\\\srv\\common");
        m_net.MapDrive("K:", "\\\\srv\\data");
        m_net.MapDrive("t:", "\\\\srv\\data2");
        m_net.MapDrive("Y:", "\\\\srv\\data");
        m_net.connections->push_back({std::nullopt, "\\\\srv\\printers"});
        m_net.connections->push_back({"W:", std::nullopt});
        m_net.shares["DATA"] = "C:\\shares\\data";
        BCommon::Env().m_sMachineName = "MYPC";

        m_prefix.MakeFolder("shares\\data\\sub");
        m_prefix.WriteFile("shares\\data\\sub\\config.ini");
        m_prefix.MakeFolder("local");
        m_prefix.WriteFile("local\\config.ini");
        const auto remote = m_prefix.Folder() / "dosdevices" / "unc" / "srv" / "data" / "cfg";
        std::filesystem::create_directories(remote);
        std::ofstream(remote / "config.ini") << "x";
    }

    TempPrefix m_prefix;
    FakeNetwork m_net;
    platform::ScopedServices m_use{{.network = &m_net}};
};

TEST_F(NetworkPaths, NetworkPathOfADrive) {
    const std::pair<const char*, const char*> cases[] = {
        {"k:", "\\\\srv\\data"},
        {"T:", "\\\\srv\\data2"}, // letter case ignored on both sides
        {"x:", "Drive Letter Not Found"},
        {"w:", ""}, // connected, without a remote name
        {"", "Drive Letter Not Found"},
    };
    for (const auto& [drive, remote] : cases) {
        EXPECT_EQ(BCommon::GetNetworkPath(drive), remote) << drive;
    }
    m_net.connections = std::nullopt;
    EXPECT_EQ(BCommon::GetNetworkPath("k:"), "Drive Letter Not Found");
}

TEST_F(NetworkPaths, MappedDrivePathPrefersTheFirstLetterOfTheWholeShare) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\srv\\data", "k:\\"}, // K: and Y: both map it: the first letter
        {"\\\\SRV\\DATA\\x\\a.ini", "k:\\x\\a.ini"},
        {"\\\\srv\\data2\\a.ini", "t:\\a.ini"}, // not k:, whose share only begins the name
        {"\\\\srv\\data3\\a.ini", "\\\\srv\\data3\\a.ini"},
        {"\\\\srv\\common\\", "d:\\"},
        {"\\\\other\\data\\a.ini", "\\\\other\\data\\a.ini"},
        {"C:\\local", "C:\\local"},
    };
    for (const auto& [path, mapped] : cases) {
        EXPECT_EQ(BCommon::GetMappedDrivePath(path), mapped) << path;
    }
}

TEST_F(NetworkPaths, SharePathOfThisComputer) {
    const std::pair<const char*, const char*> cases[] = {
        {"\\\\MYPC\\data\\sub\\", "C:\\shares\\data\\sub\\"},
        {"\\\\mypc\\Data\\sub\\config.ini", "C:\\shares\\data\\sub\\config.ini"},
        {"\\\\MYPC\\data", "C:\\shares\\data"},
        {"\\\\MYPC\\nope\\sub", ""},
        {"\\\\OTHER\\data\\sub", ""},
        {"\\\\MYPC", ""},
        {"", ""},
    };
    for (const auto& [path, local] : cases) {
        EXPECT_EQ(BCommon::GetSharePath(path), local) << path;
    }
}

TEST_F(NetworkPaths, AbsolutePathIsTheSameOnEveryWorkstation) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\local\\config.ini", "C:\\local\\config.ini"},
        {"C:\\local\\missing.ini", "C:\\local\\missing.ini"},
        {"k:\\cfg\\config.ini", "\\\\srv\\data\\cfg\\config.ini"},
        {"K:\\cfg", "\\\\srv\\data\\cfg"},
        {"k:\\cfg\\missing.ini", "k:\\cfg\\missing.ini"},
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

TEST_F(NetworkPaths, AbsolutePathOfANameInTheCurrentFolderGetsABackslash) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(m_prefix.OnDriveC("local"));
    EXPECT_EQ(BCommon::GetAbsolutePath("config.ini"), "config.ini\\");
    EXPECT_EQ(BCommon::GetAbsolutePath("missing.ini"), "missing.ini");
    std::filesystem::current_path(previous);
}

TEST(Paths, FileStampSumsTheHalvesOfTheLastWriteTime) {
    const TempPrefix prefix;
    prefix.MakeFolder("stamps\\folder");
    struct Case {
        const char* file;
        timespec mtime; // FILETIME high half 0x01DA0000
        std::int32_t stamp;
    };
    const Case cases[] = {
        {"stamps\\small.ini", {1697440326, 627084000}, 336483960},   // low 0x12345678
        {"stamps\\wraps.ini", {1697440510, 833433600}, -2116419840}, // low 0x7FFFFF00
    };
    for (const Case& c : cases) {
        const auto path = prefix.WriteFile(c.file);
        const timespec times[2] = {c.mtime, c.mtime};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        EXPECT_EQ(BCommon::GetFileStamp(std::string("C:\\") + c.file), c.stamp) << c.file;
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

TEST(Paths, CountFolderEntriesCountsVisibleNames) {
    const TempPrefix prefix;
    prefix.MakeFolder("data\\Machines\\PC1");
    prefix.MakeFolder("data\\Machines\\PC2");
    prefix.MakeFolder("data\\Machines\\.cache");
    prefix.WriteFile("data\\Machines\\notes.txt");
    prefix.WriteFile("data\\Machines\\ ");
    prefix.MakeFolder("data\\users");
    const std::pair<const char*, int> cases[] = {
        {"C:\\data\\machines\\*", 3}, {"C:\\data\\Machines\\PC*", 2}, {"C:\\data\\users\\*", 0},
        {"C:\\data\\nowhere\\*", 0},  {"C:\\data\\Machines\\x*", 0},  {"", 0},
    };
    for (const auto& [pattern, count] : cases) {
        EXPECT_EQ(BCommon::CountFolderEntries(pattern), count) << pattern;
    }
}

} // namespace
