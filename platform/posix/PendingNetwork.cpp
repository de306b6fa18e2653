// Placeholder for the hosted network until its real implementation lands (removed then).
#include "platform/posix/Hosted.h"

namespace platform::posix {
namespace {

class PendingNetwork final : public Network {
public:
    std::optional<std::vector<NetConnection>> ConnectedResources(std::size_t) override {
        return std::nullopt;
    }
    std::optional<std::string> ShareLocalPath(const std::string&, const std::string&,
                                              std::size_t) override {
        return std::nullopt;
    }
    std::optional<SocketsInfo> StartSockets(std::uint16_t) override { return std::nullopt; }
    void StopSockets() override {}
    std::optional<std::string> HostName(std::size_t) override { return std::nullopt; }
    std::optional<std::vector<std::uint8_t>> FirstHostAddress(const std::string&) override {
        return std::nullopt;
    }
};

} // namespace

Network& HostedNetwork() {
    static PendingNetwork network;
    return network;
}

} // namespace platform::posix
