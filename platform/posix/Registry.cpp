// The hosted registry: the prefix's registry.reg, read only, parsed again whenever it changes.
#include "ledgerline/platform/posix/HostIo.h"
#include "ledgerline/platform/posix/Hosted.h"
#include "ledgerline/platform/posix/RegFile.h"

#include <cstddef>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {
namespace {

std::string RegistryFilePath() {
    return PrefixFolder() + "/registry.reg";
}

// The version of the registry file, with one query; nothing when it is missing or no ordinary
// file.
std::optional<FileVersion> RegistryFileVersion(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    return VersionFrom(info);
}

// A registry file is a few kilobytes; one past this size is not taken for one (and is read as
// an unreadable file) rather than filling the memory.
constexpr std::size_t kMaxFileSize = std::size_t{256} << 20;

// The registry file of the current prefix, parsed once per version of the file: kept under its
// path and version (size, last-write time, change time and identity), as the INI library keeps
// the files it parses, so that an unchanged file costs one query per read.
class RegistryFileCache {
public:
    std::shared_ptr<const RegFile> Current() {
        const std::string path = RegistryFilePath();
        const std::optional<FileVersion> before = RegistryFileVersion(path);
        if (!before) {
            return nullptr;
        }
        // Held while a new version is read and parsed: readers on other threads wait for that
        // one parse rather than each making their own of the same file.
        std::lock_guard lock(m_mutex);
        if (m_parsed && m_version == *before && m_path == path) {
            return m_parsed;
        }
        return Load(path, *before);
    }

private:
    // What is read is kept under the version seen before the read: a version that came after
    // it has another identity or change time, so a later read parses it anew. A read whose
    // length differs from that size met such a change (or a writer at work) and serves this
    // read only.
    std::shared_ptr<const RegFile> Load(const std::string& path, const FileVersion& before) {
        const FileDescriptor file(OpenOrdinaryFile(path, O_RDONLY));
        if (!file.IsOpen()) {
            return nullptr;
        }
        const std::optional<std::string> bytes = ReadToEnd(file.Get(), kMaxFileSize);
        if (!bytes) {
            return nullptr;
        }
        auto parsed = std::make_shared<const RegFile>(RegFile::Parse(*bytes));
        if (bytes->size() == before.size) {
            m_path = path;
            m_version = before;
            m_parsed = parsed;
        }
        return parsed;
    }

    std::mutex m_mutex;
    std::string m_path;
    FileVersion m_version;
    std::shared_ptr<const RegFile> m_parsed;
};

RegistryFileCache& Cache() {
    static RegistryFileCache cache;
    return cache;
}

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
    return Cache().Current();
}

} // namespace platform::posix

namespace platform {

// The build's real registry service.
Registry& RealRegistry() {
    static posix::HostedRegistryService registry;
    return registry;
}

} // namespace platform
