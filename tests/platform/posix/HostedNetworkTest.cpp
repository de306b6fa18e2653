// The hosted network: drives and shares from the prefix's registry.reg, the host's own name and
// addresses (hosted build only: uses POSIX).
#include "ledgerline/platform/posix/Hosted.h"
#include "support/posix/HostedWorld.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using platform::NetConnection;

// X has no remote path and LPT1 is no drive letter: neither is a connected drive.
const char* const kRegistry = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Network\z]
"RemotePath"="\\\\srv\\data"

[HKEY_CURRENT_USER\Network\Y]
"RemotePath"="\\\\srv\\other"

[HKEY_CURRENT_USER\Network\X]

[HKEY_CURRENT_USER\Network\LPT1]
"RemotePath"="\\\\srv\\printer"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\LanmanServer\Shares]
"DATA"=hex(7):43,00,53,00,43,00,46,00,6c,00,61,00,67,00,73,00,3d,00,30,00,00,00,\
  50,00,61,00,74,00,68,00,3d,00,44,00,3a,00,5c,00,44,00,61,00,74,00,61,00,00,00,\
  00,00
"Public"="path=C:\\Users\\Public"
"NoPath"=hex(7):4d,00,61,00,78,00,55,00,73,00,65,00,73,00,3d,00,31,00,00,00,00,00
@="Path=C:\\default"
)";

using HostedNetworkTest = ldgr::test::HostedWorld;

std::string Describe(const std::optional<std::vector<NetConnection>>& connections) {
    std::string text = connections ? "" : "nothing";
    for (const NetConnection& c : connections.value_or(std::vector<NetConnection>{})) {
        text += c.localName.value_or("-") + "=" + c.remoteName.value_or("-") + ";";
    }
    return text;
}

TEST_F(HostedNetworkTest, ConnectedDrivesInLetterOrderAsFarAsTheBufferHolds) {
    EXPECT_FALSE(platform::RealNetwork().ConnectedResources(32768)); // no registry.reg
    WriteHostFile(Host("registry.reg"), kRegistry);
    const std::pair<std::size_t, const char*> cases[] = {
        {64, "Y:=\\\\srv\\other;Z:=\\\\srv\\data;"}, {63, "Y:=\\\\srv\\other;"}, {31, "nothing"}};
    for (const auto& [bufferSize, expected] : cases) {
        EXPECT_EQ(Describe(platform::RealNetwork().ConnectedResources(bufferSize)), expected)
            << bufferSize;
    }
}

TEST_F(HostedNetworkTest, SharesOfThisComputer) {
    SetVariable("LDGR_COMPUTERNAME", "MYPC");
    WriteHostFile(Host("registry.reg"), kRegistry);
    const std::tuple<const char*, std::string, std::size_t, std::optional<std::string>> cases[] = {
        {"\\\\mypc", "PUBLIC", 256, "C:\\Users\\Public"},
        {"\\\\MYPC", "DATA", 16, "D:\\Data"},     // 7 characters and the terminator
        {"\\\\MYPC", "DATA", 15, std::nullopt},   // one byte short
        {"\\\\MYPC2", "DATA", 256, std::nullopt}, // another server is out of reach
        {"\\\\MYPC", "MISSING", 256, std::nullopt},
        {"\\\\MYPC", "NoPath", 256, std::nullopt},
        {"\\\\MYPC", "", 256, std::nullopt}, // never the key's default value
    };
    for (const auto& [server, share, bufferSize, expected] : cases) {
        EXPECT_EQ(platform::RealNetwork().ShareLocalPath(server, share, bufferSize), expected)
            << server << " " << share << " " << bufferSize;
    }
}

// A Windows computer name is one label in capitals, whatever the host calls itself.
TEST_F(HostedNetworkTest, ComputerNameWithoutTheVariableIsTheHostsFirstLabelInCapitals) {
    const std::string name = platform::posix::HostedComputerName();
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_of(".abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
}

// The version asked for when the library knows it, else the nearest lower one; a refused
// version shows as 0.
TEST_F(HostedNetworkTest, SocketVersionNegotiation) {
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {0x0001, 0x0001}, {0x0202, 0x0202}, {0x0501, 0x0101},
        {0x0502, 0x0202}, {0x0003, 0x0202}, {0x0100, 0},
    };
    for (const auto& [asked, granted] : cases) {
        const auto info = platform::RealNetwork().StartSockets(asked);
        EXPECT_EQ(info ? info->version : 0, granted) << std::hex << asked;
        EXPECT_EQ(info ? info->highVersion : 0x0202, 0x0202);
    }
}

TEST_F(HostedNetworkTest, TheHostsNameAndAddressesInNetworkOrder) {
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host), 0);
    EXPECT_EQ(platform::RealNetwork().HostName(sizeof host), host);
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(platform::RealNetwork().FirstHostAddress("192.168.0.17"), (Bytes{192, 168, 0, 17}));
    EXPECT_EQ(platform::RealNetwork().FirstHostAddress(""), std::nullopt);
}

} // namespace
