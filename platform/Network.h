/// @file
/// The network as the program sees it: connected drives, this computer's shares, sockets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

/// One connected network resource; either name may be absent.
struct NetConnection {
    std::optional<std::string> localName;  ///< "X:" for a drive
    std::optional<std::string> remoteName; ///< `\\server\share`
};

/// What the socket library reported at start-up.
struct SocketsInfo {
    std::uint16_t version = 0;     ///< negotiated version word: low byte major, high byte minor
    std::uint16_t highVersion = 0; ///< the highest version word the library supports
    std::int16_t maxSockets = 0;   ///< the most sockets the library lets one process open
};

/// The network service: connected resources, shares, the socket library, host lookups.
class Network {
public:
    virtual ~Network() = default;

    /// The connected resources (any type), as one enumeration call with a buffer of bufferSize
    /// bytes returns them; nothing when the enumeration fails or nothing is connected.
    virtual std::optional<std::vector<NetConnection>>
    ConnectedResources(std::size_t bufferSize) = 0;
    /// The local path of a share (information level 2); server is written as the query takes
    /// it, with its two leading backslashes (`\\MYPC`). Nothing when the query fails or the
    /// path does not fit a buffer of bufferSize bytes of UTF-16 text.
    virtual std::optional<std::string>
    ShareLocalPath(const std::string& server, const std::string& share, std::size_t bufferSize) = 0;

    /// Starts the socket library asking for a version word; nothing when it cannot start.
    virtual std::optional<SocketsInfo> StartSockets(std::uint16_t version) = 0;
    /// Stops the socket library a successful StartSockets started.
    virtual void StopSockets() = 0;
    /// This host's name read into a buffer of bufferSize characters.
    virtual std::optional<std::string> HostName(std::size_t bufferSize) = 0;
    /// The first address of a host lookup, bytes in network order.
    virtual std::optional<std::vector<std::uint8_t>> FirstHostAddress(const std::string& name) = 0;
};

} // namespace platform
