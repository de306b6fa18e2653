// The hosted network: drives and shares from the prefix's registry.reg, the host's own name and
// addresses (hosted build only: uses POSIX).
#include "platform/posix/Hosted.h"
#include "support/posix/HostedWorld.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

using platform::NetConnection;

const char* const kRegistry = R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Network\z]
"RemotePath"="\\\\srv\\data"
"UserName"=""

[HKEY_CURRENT_USER\Network\Y]
"RemotePath"="\\\\srv\\other"

[HKEY_CURRENT_USER\Network\X]
"UserName"="no remote path"

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

class HostedNetworkTest : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        SetVariable("LDGR_COMPUTERNAME", "MYPC");
    }
    void WriteRegistry(const std::string& bytes) const {
        WriteHostFile(Host("registry.reg"), bytes);
    }
};

platform::Network& Service() {
    return platform::posix::HostedNetwork();
}

std::string Describe(const std::optional<std::vector<NetConnection>>& connections) {
    if (!connections) {
        return "nothing";
    }
    std::string text;
    for (const NetConnection& connection : *connections) {
        text +=
            connection.localName.value_or("-") + "=" + connection.remoteName.value_or("-") + ";";
    }
    return text;
}

TEST_F(HostedNetworkTest, ConnectedDrivesInLetterOrderAsFarAsTheBufferHolds) {
    EXPECT_FALSE(Service().ConnectedResources(32768)); // no registry.reg
    WriteRegistry("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Network]\r\n");
    EXPECT_FALSE(Service().ConnectedResources(32768));
    WriteRegistry(kRegistry);
    const std::pair<std::size_t, const char*> cases[] = {
        {64, "Y:=\\\\srv\\other;Z:=\\\\srv\\data;"},
        {63, "Y:=\\\\srv\\other;"},
        {32, "Y:=\\\\srv\\other;"},
        {31, "nothing"},
    };
    for (const auto& [bufferSize, expected] : cases) {
        EXPECT_EQ(Describe(Service().ConnectedResources(bufferSize)), expected) << bufferSize;
    }
}

TEST_F(HostedNetworkTest, SharesOfThisComputer) {
    const std::string longPath = "D:\\" + std::string(124, 'f'); // 127 characters
    WriteRegistry(std::string(kRegistry) + "\"Fits\"=\"Path=" + longPath +
                  "\"\n\"TooLong\"=\"Path=" + longPath + "g\"\n");
    const std::tuple<const char*, std::string, std::size_t, std::optional<std::string>> cases[] = {
        {"\\\\mypc", "data", 256, "D:\\Data"},
        {"\\\\MYPC", "PUBLIC", 256, "C:\\Users\\Public"},
        {"\\\\MYPC", "DATA", 16, "D:\\Data"},     // 7 characters and the terminator
        {"\\\\MYPC", "DATA", 15, std::nullopt},   // one byte short
        {"\\\\OTHER", "DATA", 256, std::nullopt}, // another server is out of reach
        {"\\\\MYPC2", "DATA", 256, std::nullopt}, // only the whole name counts
        {"MYPC", "DATA", 256, std::nullopt},      // not written as a server
        {"\\\\MYPC", "MISSING", 256, std::nullopt},
        {"\\\\MYPC", "NoPath", 256, std::nullopt},
        {"\\\\MYPC", "", 256, std::nullopt}, // never the key's default value
        {"\\\\MYPC", "Fits", 256, longPath},
        {"\\\\MYPC", "TooLong", 256, std::nullopt}, // fails instead of overflowing
    };
    for (const auto& [server, share, bufferSize, expected] : cases) {
        EXPECT_EQ(Service().ShareLocalPath(server, share, bufferSize), expected)
            << server << " " << share << " " << bufferSize;
    }
}

// A Windows computer name is one label in capitals, whatever the host calls itself.
TEST_F(HostedNetworkTest, ComputerNameWithoutTheVariableIsTheHostsFirstLabelInCapitals) {
    UnsetVariable("LDGR_COMPUTERNAME");
    const std::string name = platform::posix::HostedComputerName();
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_of(".abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
}

TEST_F(HostedNetworkTest, SocketVersionNegotiation) {
    // A refused version shows as 0.
    const std::pair<std::uint16_t, std::uint16_t> cases[] = {
        {0x0101, 0x0101}, {0x0001, 0x0001}, {0x0202, 0x0202}, {0x0002, 0x0002}, {0x0501, 0x0101},
        {0x0502, 0x0202}, {0x0003, 0x0202}, {0x00FF, 0x0202}, {0x0000, 0},      {0x0100, 0},
    };
    for (const auto& [asked, granted] : cases) {
        const auto info = Service().StartSockets(asked);
        EXPECT_EQ(info ? info->version : 0, granted) << std::hex << asked;
        EXPECT_EQ(info ? info->highVersion : 0x0202, 0x0202);
    }
}

TEST_F(HostedNetworkTest, HostNameNeedsRoomForItsTerminator) {
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    const std::string name(host);
    EXPECT_EQ(Service().HostName(256), name);
    EXPECT_EQ(Service().HostName(name.size() + 1), name);
    EXPECT_EQ(Service().HostName(name.size()), std::nullopt);
    EXPECT_EQ(Service().HostName(0), std::nullopt);
}

TEST_F(HostedNetworkTest, FirstAddressInNetworkOrder) {
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(Service().FirstHostAddress("192.168.0.17"), (Bytes{192, 168, 0, 17}));
    EXPECT_EQ(Service().FirstHostAddress(""), std::nullopt);
}

} // namespace
