// Host file descriptors: an owner that closes one, the open that takes ordinary files only,
// reading to the end, and the version of a host file.
#include "ledgerline/platform/posix/HostIo.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {
namespace {

constexpr std::uint64_t kFileTimeOfUnixEpoch = 116444736000000000ull; // 1970-01-01 in FILETIME

constexpr std::size_t kLargeFile = std::size_t{1} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

void ReleaseLarge(char* memory) {
    ::operator delete (memory, std::align_val_t{kHugePage});
}

using LargeMemory = std::unique_ptr<char, FileBytes::Release>;

// capacity bytes, a whole number of huge pages, asked for in one call and in huge pages where
// the system offers them: taking a fault for each 4 KB page as a file of megabytes is read in
// costs more than the read. Both are advice: where it is refused, nothing else changes.
LargeMemory LargeMemoryOf(std::size_t capacity) {
    LargeMemory memory(static_cast<char*>(::operator new (capacity, std::align_val_t{kHugePage})),
                       ReleaseLarge);
    madvise(memory.get(), capacity, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE // Linux 5.14 and later; older systems take the faults one by one
    madvise(memory.get(), capacity, MADV_POPULATE_WRITE);
#endif
    return memory;
}

} // namespace

std::size_t ExpectedRest(int fd) {
    struct stat info {};
    const off_t position = lseek(fd, 0, SEEK_CUR);
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || position < 0 ||
        info.st_size <= position) {
        return 0;
    }
    return static_cast<std::size_t>(info.st_size - position);
}

FileDescriptor::~FileDescriptor() {
    Reset();
}

void FileDescriptor::Reset(int fd) {
    if (m_fd >= 0) {
        close(m_fd);
    }
    m_fd = fd;
}

int OpenOrdinaryFile(const std::string& hostPath, int flags, mode_t mode, std::size_t* size) {
    FileDescriptor fd(open(hostPath.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode));
    struct stat info {};
    if (!fd.IsOpen()) {
        return -1;
    }
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        errno = ENXIO;
        return -1;
    }
    if (size != nullptr) {
        *size = static_cast<std::size_t>(info.st_size);
    }
    return fd.Release();
}

std::optional<std::size_t> ReadUntilEnd(int fd, std::span<char> buffer, const MoreRoom& more) {
    std::size_t used = 0;
    for (;;) {
        if (used == buffer.size()) {
            if (!more) {
                return used;
            }
            buffer = more(used);
            if (buffer.size() == used) {
                return used;
            }
        }
        const ssize_t got = read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (got == 0) {
            return used;
        }
        used += static_cast<std::size_t>(got);
    }
}

namespace {

// Reads straight into a text of the expected size (one byte more to meet the end), so a file of
// some megabytes is read without copies; it grows if the file grew.
std::optional<std::string> ReadToEndExpecting(int fd, std::size_t expected, std::size_t maxSize) {
    std::string content(std::min(expected, maxSize) + 1, '\0');
    const std::optional<std::size_t> used = ReadUntilEnd(fd, content, [&](std::size_t) {
        if (content.size() <= maxSize) {
            content.resize(content.size() * 2);
        }
        return std::span<char>(content);
    });
    if (!used || *used > maxSize) {
        return std::nullopt;
    }
    content.resize(*used);
    return content;
}

} // namespace

std::optional<std::string> ReadToEnd(int fd, std::size_t maxSize) {
    return ReadToEndExpecting(fd, ExpectedRest(fd), maxSize);
}

std::optional<FileBytes> ReadToEndBytes(int fd, std::size_t expected) {
    if (expected < kLargeFile) {
        std::optional<std::string> text =
            ReadToEndExpecting(fd, expected, std::string().max_size() / 2);
        return text ? std::optional<FileBytes>(std::move(*text)) : std::nullopt;
    }
    // One byte more than expected, to meet the end; a file that grew meanwhile is read on into
    // memory twice as large.
    std::size_t capacity = (expected / kHugePage + 1) * kHugePage;
    LargeMemory memory = LargeMemoryOf(capacity);
    const std::optional<std::size_t> used =
        ReadUntilEnd(fd, {memory.get(), capacity}, [&](std::size_t read) {
            LargeMemory larger = LargeMemoryOf(capacity * 2);
            std::memcpy(larger.get(), memory.get(), read);
            memory = std::move(larger);
            capacity *= 2;
            return std::span<char>(memory.get(), capacity);
        });
    if (!used) {
        return std::nullopt;
    }
    return FileBytes(memory.release(), *used, ReleaseLarge);
}

// Before 1970 the host time is negative; the unsigned sum still gives the right FILETIME.
std::uint64_t FileTimeOf(const timespec& time) {
    return kFileTimeOfUnixEpoch + static_cast<std::uint64_t>(time.tv_sec) * 10000000ull +
           static_cast<std::uint64_t>(time.tv_nsec) / 100;
}

FileVersion VersionFrom(const struct stat& info) {
    return {.size = static_cast<std::uint64_t>(info.st_size),
            .lastWriteTime = FileTimeOf(info.st_mtim),
            .changeTime = FileTimeOf(info.st_ctim),
            .volume = static_cast<std::uint64_t>(info.st_dev),
            .fileIndex = static_cast<std::uint64_t>(info.st_ino)};
}

} // namespace platform::posix
