// A scripted network for the helper tests: connections, shares of one computer, sockets.
#pragma once

#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Network.h"

#include <map>

namespace ldgr::test {

class FakeNetwork final : public platform::Network {
public:
    // nullopt: the enumeration fails.
    std::optional<std::vector<platform::NetConnection>> connections =
        std::vector<platform::NetConnection>{};
    // The computer whose shares are known, and its shares by upper-case name.
    std::string computer = "MYPC";
    std::map<std::string, std::string> shares;
    // nullopt: the socket library does not start.
    std::optional<platform::SocketsInfo> sockets = platform::SocketsInfo{0x0101, 0x0202, 100};
    std::optional<std::string> hostName = "myhost";
    std::map<std::string, std::vector<std::uint8_t>> hosts;

    int started = 0;
    int stopped = 0;

    void MapDrive(const std::string& drive, const std::string& remote) {
        connections->push_back({drive, remote});
    }

    std::optional<std::vector<platform::NetConnection>> ConnectedResources(std::size_t) override {
        return connections;
    }

    std::optional<std::string> ShareLocalPath(const std::string& server, const std::string& share,
                                              std::size_t) override {
        const auto found = shares.find(share);
        if (!ldgr::ascii::EqualsIgnoreCase(server, "\\\\" + computer) || found == shares.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    std::optional<platform::SocketsInfo> StartSockets(std::uint16_t) override {
        if (sockets) {
            ++started;
        }
        return sockets;
    }
    void StopSockets() override { ++stopped; }
    std::optional<std::string> HostName(std::size_t) override { return hostName; }
    std::optional<std::vector<std::uint8_t>> FirstHostAddress(const std::string& name) override {
        const auto found = hosts.find(name);
        if (found == hosts.end()) {
            return std::nullopt;
        }
        return found->second;
    }
};

} // namespace ldgr::test
