// Module getip: socket version negotiation and the first host address.
#include "ledgerline/common/getip.h"

#include "common/FakeNetwork.h"
#include "ledgerline/platform/Platform.h"

#include <gtest/gtest.h>

namespace {

using ldgr::test::FakeNetwork;

TEST(GetIp, StartWinsockNeedsVersionOneOneAndSockets) {
    const std::tuple<const char*, std::optional<platform::SocketsInfo>, bool> cases[] = {
        {"1.1", platform::SocketsInfo{0x0101, 0x0202, 100}, true},
        {"2.0", platform::SocketsInfo{0x0002, 0x0202, 100}, true},
        {"1.0", platform::SocketsInfo{0x0001, 0x0001, 100}, false},
        {"one socket", platform::SocketsInfo{0x0101, 0x0202, 1}, true},
        {"no sockets", platform::SocketsInfo{0x0101, 0x0202, 0}, false},
        {"does not start", std::nullopt, false}};
    for (const auto& [name, sockets, usable] : cases) {
        FakeNetwork net;
        net.sockets = sockets;
        const platform::ScopedServices use({.network = &net});
        EXPECT_EQ(getip::StartWinsock(), usable) << name;
        // A started library that cannot be used is released at once.
        EXPECT_EQ(net.stopped, usable ? 0 : net.started) << name;
    }
}

TEST(GetIp, AddressIsTheFirstOfTheTrimmedHostName) {
    // The host name (nullopt: none), whether sockets start, and the address.
    const std::tuple<std::optional<std::string>, bool, const char*> cases[] = {
        {" myhost ", true, "192.168.0.17"},
        {"elsewhere", true, ""},
        {std::nullopt, true, ""},
        {"myhost", false, ""}};
    for (const auto& [hostName, startable, address] : cases) {
        FakeNetwork net;
        net.hostName = hostName;
        net.hosts["myhost"] = {192, 168, 0, 17};
        if (!startable) {
            net.sockets = std::nullopt;
        }
        const platform::ScopedServices use({.network = &net});
        EXPECT_EQ(getip::GetIPAddress(), address) << hostName.value_or("(none)");
        EXPECT_EQ(net.started, net.stopped) << "the library is released";
    }
}

} // namespace
