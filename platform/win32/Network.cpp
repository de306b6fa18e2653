// The network through the Windows calls: connected resources, shares of a server, and the
// socket library for this host's name and address.
#include "ledgerline/platform/win32/Win32.h"

#include <cwchar>
#include <lm.h>
#include <winnetwk.h>
#include <winsock2.h>

namespace platform::win32 {
namespace {

struct NetEnumTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool Free(Handle handle) { return WNetCloseEnum(handle) == NO_ERROR; }
};
using NetEnumeration = Owned<NetEnumTraits>;

struct NetBufferTraits {
    using Handle = LPBYTE;
    static Handle None() { return nullptr; }
    static bool Free(Handle buffer) { return NetApiBufferFree(buffer) == NERR_Success; }
};
using NetBuffer = Owned<NetBufferTraits>;

// The room one entry takes in the enumeration buffer of the 32-bit program; the count of
// entries asked for is the buffer size over it.
constexpr std::size_t kEntrySize = 32;

std::optional<std::string> TextOf(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    return std::string(text);
}

class WindowsNetwork final : public Network {
public:
    std::optional<std::vector<NetConnection>> ConnectedResources(std::size_t bufferSize) override {
        NetEnumeration enumeration;
        if (WNetOpenEnumA(RESOURCE_CONNECTED, RESOURCETYPE_ANY, 0, nullptr,
                          enumeration.Receive()) != NO_ERROR ||
            !enumeration.IsValid()) {
            return std::nullopt;
        }
        // Whole entries, so the buffer is aligned for the records the call places in it.
        std::vector<NETRESOURCEA> buffer(bufferSize / sizeof(NETRESOURCEA) + 1);
        DWORD count = static_cast<DWORD>(bufferSize / kEntrySize);
        DWORD size = static_cast<DWORD>(bufferSize);
        if (WNetEnumResourceA(enumeration.Get(), &count, buffer.data(), &size) != NO_ERROR) {
            return std::nullopt;
        }
        std::vector<NetConnection> connections;
        for (DWORD i = 0; i < count && i < buffer.size(); ++i) {
            connections.push_back({TextOf(buffer[i].lpLocalName), TextOf(buffer[i].lpRemoteName)});
        }
        return connections;
    }

    std::optional<std::string> ShareLocalPath(const std::string& server, const std::string& share,
                                              std::size_t bufferSize) override {
        std::wstring serverName = ToWide(server);
        std::wstring shareName = ToWide(share);
        NetBuffer information;
        if (NetShareGetInfo(serverName.data(), shareName.data(), 2, information.Receive()) !=
                NERR_Success ||
            !information.IsValid()) {
            return std::nullopt;
        }
        const auto* details = reinterpret_cast<const SHARE_INFO_2*>(information.Get());
        if (details->shi2_path == nullptr) {
            return std::nullopt;
        }
        // The path is copied through a buffer of bufferSize bytes; a longer path counts as a
        // failed query rather than being cut.
        const std::size_t length = std::wcslen(details->shi2_path);
        if ((length + 1) * sizeof(wchar_t) > bufferSize) {
            return std::nullopt;
        }
        return FromWide(std::wstring(details->shi2_path, length));
    }

    std::optional<SocketsInfo> StartSockets(std::uint16_t version) override {
        WSADATA data{};
        if (WSAStartup(version, &data) != 0) {
            return std::nullopt;
        }
        return SocketsInfo{data.wVersion, data.wHighVersion,
                           static_cast<std::int16_t>(data.iMaxSockets)};
    }

    void StopSockets() override { WSACleanup(); }

    std::optional<std::string> HostName(std::size_t bufferSize) override {
        std::string buffer(bufferSize, '\0');
        if (gethostname(buffer.data(), static_cast<int>(bufferSize)) != 0) {
            return std::nullopt;
        }
        return buffer.substr(0, buffer.find('\0'));
    }

    std::optional<std::vector<std::uint8_t>> FirstHostAddress(const std::string& name) override {
        const hostent* host = gethostbyname(name.c_str());
        if (host == nullptr || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr) {
            return std::nullopt;
        }
        const auto* first = reinterpret_cast<const std::uint8_t*>(host->h_addr_list[0]);
        return std::vector<std::uint8_t>(first, first + host->h_length);
    }
};

} // namespace

} // namespace platform::win32

namespace platform {

// The build's real network service.
Network& RealNetwork() {
    static win32::WindowsNetwork network;
    return network;
}

} // namespace platform
