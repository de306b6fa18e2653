// Host file descriptors: an owner that closes one, the open that takes ordinary files only,
// and reading to the end.
#include "platform/posix/HostIo.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {
namespace {

// The bytes from the current position to the end, as far as the file's size tells.
std::size_t ExpectedRest(int fd) {
    struct stat info {};
    const off_t position = lseek(fd, 0, SEEK_CUR);
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || position < 0 ||
        info.st_size <= position) {
        return 0;
    }
    return static_cast<std::size_t>(info.st_size - position);
}

// Asks for the memory of a large buffer in one call, in huge pages where the system offers
// them: taking a fault for each 4 KB page as the buffer is first written costs more than
// reading a file of megabytes into it. Advice only: where it is refused, nothing changes.
void PrepareLargeBuffer(char* data, std::size_t size) {
    constexpr std::size_t kLarge = std::size_t{1} << 20;
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    if (size < kLarge) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t end = begin + size;
    const auto advise = [&](std::uintptr_t unit, int advice) {
        const std::uintptr_t first = (begin + unit - 1) & ~(unit - 1);
        const std::uintptr_t last = end & ~(unit - 1);
        if (last > first) {
            madvise(reinterpret_cast<void*>(first), last - first, advice);
        }
    };
    advise(kHugePage, MADV_HUGEPAGE);
    advise(page, MADV_POPULATE_WRITE);
}

} // namespace

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

int OpenOrdinaryFile(const std::string& hostPath, int flags, mode_t mode) {
    FileDescriptor fd(open(hostPath.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode));
    struct stat info {};
    if (!fd.IsOpen()) {
        return -1;
    }
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        fcntl(fd.Get(), F_SETFL, fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK) != 0) {
        errno = ENXIO;
        return -1;
    }
    return fd.Release();
}

std::optional<std::string> ReadToEnd(int fd, std::size_t maxSize) {
    // Read straight into a text of the expected size (one byte more to meet the end), so a
    // file of some megabytes is read without copies; it grows if the file grew.
    const std::size_t expected = std::min(ExpectedRest(fd), maxSize) + 1;
    std::string content;
    content.reserve(expected);
    PrepareLargeBuffer(content.data(), expected);
    content.resize(expected);
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (used > maxSize) {
                return std::nullopt;
            }
            content.resize(content.size() * 2);
        }
        const ssize_t got = read(fd, content.data() + used, content.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            content.resize(used);
            return used > maxSize ? std::nullopt : std::optional(std::move(content));
        }
        used += static_cast<std::size_t>(got);
    }
}

} // namespace platform::posix
