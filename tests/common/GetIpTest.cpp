// Module getip: socket version negotiation and the first host address.
#include "common/getip.h"

#include "common/FakeNetwork.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

namespace {

using ldgr::test::FakeNetwork;

TEST(GetIp, StartWinsockNeedsVersionOneOneAndSockets) {
    struct Case {
        const char* name;
        std::optional<platform::SocketsInfo> sockets;
        bool usable;
    };
    const Case cases[] = {{"1.1", platform::SocketsInfo{0x0101, 0x0202, 100}, true},
                          {"2.0", platform::SocketsInfo{0x0002, 0x0202, 100}, true},
                          {"1.0", platform::SocketsInfo{0x0001, 0x0001, 100}, false},
                          {"no sockets", platform::SocketsInfo{0x0101, 0x0202, 0}, false},
                          {"does not start", std::nullopt, false}};
    for (const Case& c : cases) {
        FakeNetwork net;
        net.sockets = c.sockets;
        const platform::ScopedServices use({.network = &net});
        EXPECT_EQ(getip::StartWinsock(), c.usable) << c.name;
        // A started library that cannot be used is released at once.
        EXPECT_EQ(net.stopped, c.usable ? 0 : net.started) << c.name;
    }
}

TEST(GetIp, AddressIsTheFirstOfTheTrimmedHostName) {
    struct Case {
        const char* name;
        std::optional<std::string> hostName;
        std::string address;
        bool startable = true;
    };
    const Case cases[] = {{"blanks around the name", " myhost ", "192.168.0.17"},
                          {"name does not resolve", "elsewhere", ""},
                          {"no host name", std::nullopt, ""},
                          {"sockets unusable", "myhost", "", false}};
    for (const Case& c : cases) {
        FakeNetwork net;
        net.hostName = c.hostName;
        net.hosts["myhost"] = {192, 168, 0, 17};
        if (!c.startable) {
            net.sockets = std::nullopt;
        }
        const platform::ScopedServices use({.network = &net});
        EXPECT_EQ(getip::GetIPAddress(), c.address) << c.name;
        EXPECT_EQ(net.started, net.stopped) << c.name << ": the library is released";
    }
}

} // namespace
