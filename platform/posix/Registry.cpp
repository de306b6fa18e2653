// The hosted registry: the prefix's registry.reg, read only, read again whenever it changes.
#include "platform/posix/HostIo.h"
#include "platform/posix/Hosted.h"
#include "platform/posix/RegFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace platform::posix {
namespace {

// A file last changed at least this long before it was read cannot change again without a
// new modification time: two seconds cover the coarsest file-time step (FAT) and the tick of
// the kernel's file clock. A file changed more recently is compared byte for byte.
constexpr std::int64_t kUncertainNanoseconds = 2'000'000'000;

std::string RegistryFilePath() {
    return PrefixFolder() + "/registry.reg";
}

std::int64_t Nanoseconds(const timespec& time) {
    return std::int64_t{time.tv_sec} * 1'000'000'000 + time.tv_nsec;
}

std::int64_t NowNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

// What tells one version of a file from another without reading it.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0;
    std::int64_t changed = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, Nanoseconds(info.st_mtim),
            Nanoseconds(info.st_ctim)};
}

// A registry file is a few kilobytes; one past this size is not taken for one (and is read as
// an unreadable file) rather than filling the memory.
constexpr std::size_t kMaxFileSize = std::size_t{256} << 20;

// The registry file of the current prefix, parsed once per version of the file.
class RegistryFileCache {
public:
    std::shared_ptr<const RegFile> Current() {
        const std::string path = RegistryFilePath();
        const std::int64_t now = NowNanoseconds();
        const FileDescriptor file(OpenOrdinaryFile(path, O_RDONLY));
        struct stat info {};
        if (!file.IsOpen() || fstat(file.Get(), &info) != 0) {
            return nullptr;
        }
        const FileStamp stamp = StampOf(info);
        std::lock_guard lock(m_mutex);
        if (m_parsed && path == m_path && stamp == m_stamp && IsSettled()) {
            return m_parsed;
        }
        std::optional<std::string> bytes = ReadToEnd(file.Get(), kMaxFileSize);
        if (!bytes) {
            return nullptr;
        }
        if (!m_parsed || path != m_path || *bytes != m_bytes) {
            m_parsed = std::make_shared<const RegFile>(RegFile::Parse(*bytes));
            m_bytes = std::move(*bytes);
            m_path = path;
        }
        m_stamp = stamp;
        m_readAt = now;
        return m_parsed;
    }

private:
    // Whether the version read last had been left alone long enough before it was read.
    bool IsSettled() const {
        return std::max(m_stamp.modified, m_stamp.changed) + kUncertainNanoseconds < m_readAt;
    }

    std::mutex m_mutex;
    std::string m_path;
    FileStamp m_stamp;
    std::int64_t m_readAt = 0;
    std::string m_bytes;
    std::shared_ptr<const RegFile> m_parsed;
};

// Full access needs a registry the user could change: a writable file, and no
// LDGR_REGISTRY_READONLY (set and not empty) saying otherwise.
bool MayOpen(RegistryAccess access) {
    if (access == RegistryAccess::Read) {
        return true;
    }
    if (const char* readOnly = std::getenv("LDGR_REGISTRY_READONLY");
        readOnly != nullptr && *readOnly != '\0') {
        return false;
    }
    return faccessat(AT_FDCWD, RegistryFilePath().c_str(), W_OK, AT_EACCESS) == 0;
}

RegistryValue Failed(RegistryStatus status) {
    RegistryValue value;
    value.status = status;
    return value;
}

class HostedRegistryService final : public Registry {
public:
    RegistryValue ReadValue(RootKey root, const std::string& subKey, const std::string& valueName,
                            RegistryAccess access, std::size_t bufferSize) override {
        const std::shared_ptr<const RegFile> file = CurrentRegistryFile();
        if (!file || !MayOpen(access) || !file->HasKey(root, subKey)) {
            return Failed(RegistryStatus::KeyNotOpened);
        }
        const RegEntry* value = file->FindValue(root, subKey, valueName);
        if (value == nullptr || value->data.size() > bufferSize) {
            return Failed(RegistryStatus::ValueNotRead);
        }
        return {RegistryStatus::Ok, value->type, value->data};
    }
};

} // namespace

std::shared_ptr<const RegFile> CurrentRegistryFile() {
    static RegistryFileCache cache;
    return cache.Current();
}

Registry& HostedRegistry() {
    static HostedRegistryService registry;
    return registry;
}

} // namespace platform::posix

namespace platform {

// The build's real registry service.
Registry& RealRegistry() {
    return posix::HostedRegistry();
}

} // namespace platform
