// The hosted network: connected drives and this computer's shares kept in the hosted registry,
// and the host's own sockets for its name and address.
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/Hosted.h"
#include "ledgerline/platform/posix/RegFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform::posix {
namespace {

// One entry of the enumeration's buffer (a NETRESOURCE of the 32-bit build).
constexpr std::size_t kConnectionEntrySize = 32;

const char* const kSharesKey = "SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Shares";

// The socket library's versions: 1.0 to 1.1 and 2.0 to 2.2, a version word holding the major
// number in its low byte and the minor number in its high byte.
constexpr std::uint8_t kHighestMajor = 2;
constexpr std::uint8_t kHighestMinor = 2;
constexpr std::int16_t kMaxSockets = 32767;

std::uint16_t VersionWord(std::uint8_t major, std::uint8_t minor) {
    return static_cast<std::uint16_t>(major | (minor << 8));
}

// The lines of text data (REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ): parts between NULs and line
// breaks, empty ones left out.
std::vector<std::string_view> TextLines(const RegEntry& value) {
    std::vector<std::string_view> lines;
    if (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegMultiSz) {
        return lines;
    }
    const std::string_view data = value.data;
    std::size_t start = 0;
    while (start < data.size()) {
        const std::size_t end =
            std::min(data.find_first_of(std::string_view("\0\r\n", 3), start), data.size());
        if (end > start) {
            lines.push_back(data.substr(start, end - start));
        }
        start = end + 1;
    }
    return lines;
}

// The remote path of a connected drive's key, nothing when it has none.
std::optional<std::string> RemotePath(const RegFile& registry, const std::string& letter) {
    const RegEntry* value =
        registry.FindValue(RootKey::CurrentUser, "Network\\" + letter, "RemotePath");
    if (value == nullptr) {
        return std::nullopt;
    }
    const std::vector<std::string_view> lines = TextLines(*value);
    if (lines.empty()) {
        return std::nullopt;
    }
    return std::string(lines.front());
}

bool IsDriveLetter(const std::string& name) {
    return name.size() == 1 && UpperCodePage(name[0]) >= 'A' && UpperCodePage(name[0]) <= 'Z';
}

// Whether the server of a share query names this computer ("\\NAME", letter case ignored).
bool IsThisComputer(std::string_view server) {
    if (!server.starts_with("\\\\")) {
        return false;
    }
    const std::string name = HostedComputerName();
    return !name.empty() && SameIgnoringCase(server.substr(2), name);
}

// The folder a share's data names in its line "Path=<folder>".
std::optional<std::string> SharedFolder(const RegEntry& share) {
    constexpr std::string_view kPathKey = "PATH=";
    for (const std::string_view line : TextLines(share)) {
        if (line.size() >= kPathKey.size() &&
            SameIgnoringCase(line.substr(0, kPathKey.size()), kPathKey)) {
            return std::string(line.substr(kPathKey.size()));
        }
    }
    return std::nullopt;
}

struct AddressListFree {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

class HostedNetworkService final : public Network {
public:
    // Each key HKEY_CURRENT_USER\Network\<letter> with a RemotePath value is a connected drive,
    // in the order of the letters. As many entries come back as fit the buffer; nothing when
    // none does.
    std::optional<std::vector<NetConnection>> ConnectedResources(std::size_t bufferSize) override {
        const std::shared_ptr<const RegFile> registry = CurrentRegistryFile();
        if (!registry) {
            return std::nullopt;
        }
        std::vector<NetConnection> connections;
        const std::size_t capacity = bufferSize / kConnectionEntrySize;
        for (const std::string& letter : registry->SubKeyNames(RootKey::CurrentUser, "Network")) {
            if (connections.size() == capacity) {
                break;
            }
            std::optional<std::string> remote = RemotePath(*registry, letter);
            if (IsDriveLetter(letter) && remote) {
                connections.push_back(
                    {std::string(1, UpperCodePage(letter[0])) + ":", std::move(remote)});
            }
        }
        if (connections.empty()) {
            return std::nullopt;
        }
        return connections;
    }

    // A longer path than the buffer holds is treated as a failed query: the caller's copy
    // buffer could not take it.
    std::optional<std::string> ShareLocalPath(const std::string& server, const std::string& share,
                                              std::size_t bufferSize) override {
        const std::shared_ptr<const RegFile> registry = CurrentRegistryFile();
        if (!registry || share.empty() || !IsThisComputer(server)) {
            return std::nullopt;
        }
        const RegEntry* value = registry->FindValue(RootKey::LocalMachine, kSharesKey, share);
        std::optional<std::string> folder = value ? SharedFolder(*value) : std::nullopt;
        if (!folder || (folder->size() + 1) * sizeof(char16_t) > bufferSize) {
            return std::nullopt;
        }
        return folder;
    }

    // Negotiates as the socket library does: the version asked for when it knows it, else the
    // nearest lower one it knows; versions below 1.0 are refused.
    std::optional<SocketsInfo> StartSockets(std::uint16_t version) override {
        std::uint8_t major = static_cast<std::uint8_t>(version & 0xFF);
        std::uint8_t minor = static_cast<std::uint8_t>(version >> 8);
        if (major == 0) {
            return std::nullopt;
        }
        if (major > kHighestMajor) {
            major = kHighestMajor;
            minor = kHighestMinor;
        }
        minor = std::min<std::uint8_t>(minor, major == 1 ? 1 : kHighestMinor);
        return SocketsInfo{VersionWord(major, minor), VersionWord(kHighestMajor, kHighestMinor),
                           kMaxSockets};
    }

    void StopSockets() override {}

    std::optional<std::string> HostName(std::size_t bufferSize) override {
        if (bufferSize == 0) {
            return std::nullopt;
        }
        std::string buffer(bufferSize, '\0');
        if (gethostname(buffer.data(), buffer.size()) != 0 ||
            buffer.find('\0') == std::string::npos) {
            return std::nullopt;
        }
        return std::string(buffer.c_str());
    }

    std::optional<std::vector<std::uint8_t>> FirstHostAddress(const std::string& name) override {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        if (name.empty() || getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) {
            return std::nullopt;
        }
        const std::unique_ptr<addrinfo, AddressListFree> list(found);
        if (list->ai_addr == nullptr || list->ai_addrlen < sizeof(sockaddr_in)) {
            return std::nullopt;
        }
        sockaddr_in address{};
        std::memcpy(&address, list->ai_addr, sizeof address);
        std::vector<std::uint8_t> bytes(sizeof address.sin_addr);
        std::memcpy(bytes.data(), &address.sin_addr, bytes.size());
        return bytes;
    }
};

} // namespace

} // namespace platform::posix

namespace platform {

// The build's real network service.
Network& RealNetwork() {
    static posix::HostedNetworkService network;
    return network;
}

} // namespace platform
