// The hosted identity: system folder, version, user and computer names, profile and shell
// folders, from the environment and the host.
#include "ledgerline/platform/posix/Hosted.h"

#include <charconv>
#include <cstdlib>

namespace platform::posix {
namespace {

constexpr int kRecentFolder = 8;

// A name read into a buffer of bufferSize characters with its terminator: nothing when it
// does not fit, as the system's name queries fail then.
std::optional<std::string> FitOrFail(std::string name, std::size_t bufferSize) {
    if (name.size() + 1 > bufferSize) {
        return std::nullopt;
    }
    return name;
}

std::optional<unsigned> ParseNumber(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "major.minor", digits only on both sides.
std::optional<OSVersion> ParseVersion(std::string_view text) {
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const auto major = ParseNumber(text.substr(0, dot));
    const auto minor = ParseNumber(text.substr(dot + 1));
    if (!major || !minor) {
        return std::nullopt;
    }
    return OSVersion{*major, *minor};
}

std::string ProfileFolder() {
    return "C:\\users\\" + ProfileUserName();
}

class PosixSystemInfo final : public SystemInfo {
public:
    std::string SystemFolder(std::size_t bufferSize) override {
        const std::string folder = "C:\\windows\\system32";
        return folder.substr(0, bufferSize == 0 ? 0 : bufferSize - 1);
    }

    std::optional<OSVersion> Version() override {
        const char* text = std::getenv("LDGR_OSVERSION");
        return ParseVersion(text == nullptr ? "10.0" : text);
    }

    std::optional<std::string> UserName(std::size_t bufferSize) override {
        return FitOrFail(HostUserName(), bufferSize);
    }

    std::optional<std::string> ComputerName(std::size_t bufferSize) override {
        return FitOrFail(HostedComputerName(), bufferSize);
    }

    std::optional<std::string> UserProfileFolder(std::size_t bufferSize) override {
        return FitOrFail(ProfileFolder(), bufferSize);
    }

    std::optional<std::string> SpecialFolder(int csidl) override {
        if (csidl == kRecentFolder) {
            return ProfileFolder() + "\\Recent";
        }
        return std::nullopt;
    }
};

} // namespace

} // namespace platform::posix

namespace platform {

// The build's real system information service.
SystemInfo& RealSystem() {
    static posix::PosixSystemInfo system;
    return system;
}

} // namespace platform
