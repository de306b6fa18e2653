// Host file descriptors: an owner that closes one, the open that takes ordinary files only,
// reading to the end, and the version of a host file.
#pragma once

#include "ledgerline/platform/FileBytes.h"
#include "ledgerline/platform/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <utility>

namespace platform::posix {

// Closes a descriptor on every way out unless released.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.Release()) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    int Release() { return std::exchange(m_fd, -1); }
    // Closes the descriptor held, if any, and holds fd instead.
    void Reset(int fd = -1);

private:
    int m_fd;
};

// Opens a host file (open flags and creation mode) only when it is an ordinary file; -1 with
// errno set otherwise, ENXIO for a folder, device, FIFO or socket. The open never waits: a FIFO
// without a writer would hold it for ever, so it is opened non-blocking, which an ordinary
// file's reads and writes ignore. The file's size at the open goes to size when given.
int OpenOrdinaryFile(const std::string& hostPath, int flags, mode_t mode = 0,
                     std::size_t* size = nullptr);

// Gives the buffer a read has filled, with more room, from the count read on; the same size
// when it has no more.
using MoreRoom = std::function<std::span<char>(std::size_t used)>;
// Reads an open file into the buffer from its current position until its end, or until the
// buffer is full and more (when given) has no more room: the count read, or nothing on a read
// error (errno set). An interrupted read is tried again.
std::optional<std::size_t> ReadUntilEnd(int fd, std::span<char> buffer, const MoreRoom& more = {});

// The rest of an open file from its current position; nothing on a read error (errno set) or
// when it is longer than maxSize.
std::optional<std::string> ReadToEnd(int fd, std::size_t maxSize);
// The bytes from the current position to the end, as far as the file's size tells.
std::size_t ExpectedRest(int fd);
// The rest of an open file, expected bytes long, as bytes to keep: a large file is read into
// memory of its own, never zeroed in between, faulted in with one call and in huge pages where
// the system offers them. It is read on past expected when it grew.
std::optional<FileBytes> ReadToEndBytes(int fd, std::size_t expected);

// A host time stamp as a FILETIME.
std::uint64_t FileTimeOf(const timespec& time);
// The version of a file as a host query describes it.
FileVersion VersionFrom(const struct stat& info);

} // namespace platform::posix
