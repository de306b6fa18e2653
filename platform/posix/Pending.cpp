// Placeholders until the hosted registry, identity, network and clock land; each helper that
// brings the real service removes its part of this file.
#include "platform/posix/Hosted.h"

namespace platform::posix {
namespace {

class PendingRegistry final : public Registry {
public:
    RegistryValue ReadValue(RootKey, const std::string&, const std::string&, RegistryAccess,
                            std::size_t) override {
        return {};
    }
};

class PendingSystemInfo final : public SystemInfo {
public:
    std::string SystemFolder(std::size_t) override { return "C:\\windows\\system32"; }
    std::optional<OSVersion> Version() override { return OSVersion{10, 0}; }
    std::optional<std::string> UserName(std::size_t) override { return HostUserName(); }
    std::optional<std::string> ComputerName(std::size_t) override { return "HOSTED"; }
    std::optional<std::string> UserProfileFolder(std::size_t) override {
        return "C:\\users\\" + ProfileUserName();
    }
    std::optional<std::string> SpecialFolder(int) override { return std::nullopt; }
};

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

class PendingClock final : public Clock {
public:
    LocalTime Now() override { return {}; }
    LocaleInfo Locale() override { return {}; }
};

} // namespace

Registry& HostedRegistry() {
    static PendingRegistry registry;
    return registry;
}
SystemInfo& HostedSystemInfo() {
    static PendingSystemInfo system;
    return system;
}
Network& HostedNetwork() {
    static PendingNetwork network;
    return network;
}
Clock& HostedClock() {
    static PendingClock clock;
    return clock;
}

} // namespace platform::posix
