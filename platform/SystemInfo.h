/// @file
/// Who and where the program runs: system folder and version, user and computer names,
/// profile and shell folders.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform {

/// The operating system's version number.
struct OSVersion {
    unsigned major = 0; ///< the number before the dot
    unsigned minor = 0; ///< the number after the dot
};

/// The system service: system folder and version, user and computer names, profile and shell
/// folders.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;

    /// The Windows system folder, as written into a buffer of bufferSize characters.
    virtual std::string SystemFolder(std::size_t bufferSize) = 0;
    /// The operating system's version; nothing when the query fails.
    virtual std::optional<OSVersion> Version() = 0;
    /// The logged-on user's name read into a buffer of bufferSize characters; nothing when the
    /// query fails.
    virtual std::optional<std::string> UserName(std::size_t bufferSize) = 0;
    /// The computer name read into a buffer of bufferSize characters (terminator included);
    /// nothing when the query fails, also when the name does not fit.
    virtual std::optional<std::string> ComputerName(std::size_t bufferSize) = 0;
    /// The profile folder of the current process's user, read into a buffer of bufferSize
    /// characters; nothing when the token or the profile query fails.
    virtual std::optional<std::string> UserProfileFolder(std::size_t bufferSize) = 0;
    /// The path of a shell special folder (CSIDL number); nothing when the shell does not
    /// know the folder.
    virtual std::optional<std::string> SpecialFolder(int csidl) = 0;
};

} // namespace platform
