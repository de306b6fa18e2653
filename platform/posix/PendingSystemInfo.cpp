// Placeholder for the hosted identity until its real implementation lands (removed then).
#include "platform/posix/Hosted.h"

namespace platform::posix {
namespace {

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

} // namespace

SystemInfo& HostedSystemInfo() {
    static PendingSystemInfo system;
    return system;
}

} // namespace platform::posix
