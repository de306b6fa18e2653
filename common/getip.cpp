// Module getip: this host's network address as text.
#include "ledgerline/common/getip.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Platform.h"

namespace getip {
namespace {

constexpr std::uint16_t kVersion11 = 0x0101;
constexpr std::size_t kHostNameBuffer = 256;

// Releases the socket library when the procedure that started it leaves, on every way out.
class SocketsSession {
public:
    SocketsSession() = default;
    ~SocketsSession() {
        BCommon::IgnoreFailures([] { platform::Net().StopSockets(); });
    }
    SocketsSession(const SocketsSession&) = delete;
    SocketsSession& operator=(const SocketsSession&) = delete;
};

bool IsUsableVersion(std::uint16_t version) {
    const auto word = static_cast<std::int16_t>(version);
    const std::uint8_t major = LoByte(word);
    const std::uint8_t minor = HiByte(word);
    return major >= 2 || (major == 1 && minor >= 1);
}

std::string DottedDecimal(const std::vector<std::uint8_t>& address) {
    std::string text;
    for (const std::uint8_t byte : address) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string(byte);
    }
    return text;
}

} // namespace

bool StartWinsock() {
    bool usable = false;
    BCommon::SkipFailingStep([&] {
        const auto info = platform::Net().StartSockets(kVersion11);
        if (!info) {
            return;
        }
        usable = info->maxSockets >= 1 && IsUsableVersion(info->version);
        // A library that started but cannot be used is released here, as no caller will.
        if (!usable) {
            platform::Net().StopSockets();
        }
    });
    return usable;
}

std::string GetIPAddress() {
    if (!StartWinsock()) {
        return {};
    }
    const SocketsSession session;
    std::string address;
    BCommon::SkipFailingStep([&] {
        const auto name = platform::Net().HostName(kHostNameBuffer);
        if (!name) {
            return;
        }
        if (const auto first =
                platform::Net().FirstHostAddress(std::string(ldgr::ascii::Trim(*name)))) {
            address = DottedDecimal(*first);
        }
    });
    return address;
}

std::uint8_t LoByte(std::int16_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) & 0xFF);
}

std::uint8_t HiByte(std::int16_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint16_t>(value) >> 8);
}

} // namespace getip
