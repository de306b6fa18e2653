// Files and folders of the hosted personality: Windows paths mapped into the prefix.
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/TemporaryName.h"
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/HostIo.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace platform::posix {
namespace {

using ldgr::Error;

std::string ParentOf(const std::string& hostPath) {
    const auto slash = hostPath.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? "/" : hostPath.substr(0, slash);
}

bool IsFolder(const std::string& hostPath) {
    struct stat info {};
    return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The classic error for a failed host call on hostPath.
Error ErrorFor(int error, const std::string& hostPath) {
    switch (error) {
    case ENOENT:
        return Error(IsFolder(ParentOf(hostPath)) ? ldgr::kFileNotFound : ldgr::kPathNotFound);
    case ENOTDIR:
        return Error(ldgr::kPathNotFound);
    case EACCES:
    case EPERM:
        return Error(ldgr::kPermissionDenied);
    case EWOULDBLOCK:
        return Error::SharingViolation();
    case EEXIST:
        return Error(ldgr::kFileAlreadyExists);
    case ENOSPC:
    case EDQUOT:
    // A file-size limit refuses a write as a full disk would.
    case EFBIG:
        return Error(ldgr::kDiskFull);
    case EMFILE:
    case ENFILE:
        return Error(ldgr::kTooManyFiles);
    case ENOMEM:
        return Error(ldgr::kOutOfMemory);
    case EIO:
        return Error(ldgr::kDeviceIOError);
    case ENAMETOOLONG:
        return Error(ldgr::kBadFileNameOrNumber);
    default:
        return Error(ldgr::kPathFileAccessError);
    }
}

// A folder is opened, deleted or replaced as no file: error 75.
void RefuseFolder(const std::string& hostPath) {
    if (IsFolder(hostPath)) {
        throw Error(ldgr::kPathFileAccessError);
    }
}

// Windows refuses to change a file whose read-only attribute is set, whoever asks. The
// attribute is the owner's write bit, so root, whom the host lets write anything, is refused
// as well; a file that the host keeps this user from writing is refused too. Only ordinary
// files carry the attribute.
void RefuseReadOnly(const std::string& hostPath) {
    struct stat info {};
    if (stat(hostPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return;
    }
    if ((info.st_mode & S_IWUSR) == 0 || access(hostPath.c_str(), W_OK) != 0) {
        throw Error(ldgr::kPermissionDenied);
    }
}

bool HasWildcard(const std::string& name) {
    return name.find('*') != std::string::npos || name.find('?') != std::string::npos;
}

// A name beginning with a dot is hidden ("." and ".." are the folder's own entries).
bool IsHiddenName(const std::string& name) {
    return name.size() > 1 && name[0] == '.' && name != "..";
}

FindEntry EntryFor(const std::string& name, const struct stat& info) {
    FindEntry entry;
    entry.name = name;
    entry.isFolder = S_ISDIR(info.st_mode);
    entry.isHidden = IsHiddenName(name);
    entry.isReadOnly = (info.st_mode & S_IWUSR) == 0;
    entry.size = entry.isFolder ? 0 : static_cast<std::uint64_t>(info.st_size);
    entry.lastWriteTime = FileTimeOf(info.st_mtim);
    return entry;
}

// A link whose target is gone or out of reach (dangling, or one of a loop) is shown as the link
// itself, as Windows shows a symbolic link whatever its target: its name is taken all the same.
std::optional<FindEntry> EntryAt(const std::string& hostPath, const std::string& name) {
    struct stat info {};
    if (stat(hostPath.c_str(), &info) != 0 && lstat(hostPath.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return EntryFor(name, info);
}

// Folder and last component of a Windows path.
std::pair<std::string, std::string> SplitLast(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) {
        const bool drive = path.size() >= 2 && path[1] == ':';
        return drive ? std::pair{path.substr(0, 2) + "\\", path.substr(2)}
                     : std::pair{std::string(), path};
    }
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

// A drive root or UNC share has no "." and ".." entries.
bool IsRootFolder(std::string windowsFolder) {
    while (windowsFolder.ends_with('\\')) {
        windowsFolder.pop_back();
    }
    if (windowsFolder.size() == 2 && windowsFolder[1] == ':') {
        return true;
    }
    return windowsFolder.starts_with("\\\\") &&
           std::count(windowsFolder.begin() + 2, windowsFolder.end(), '\\') <= 1;
}

void RequireOpen(int fd) {
    if (fd < 0) {
        throw Error(ldgr::kBadFileNameOrNumber);
    }
}

void WriteAll(int fd, std::string_view bytes, const std::string& hostPath) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw ErrorFor(errno, hostPath);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// The rest of a file from the current position.
std::string ReadRest(int fd, const std::string& hostPath) {
    std::optional<std::string> content = ReadToEnd(fd, std::string().max_size() / 2);
    if (!content) {
        throw ErrorFor(errno, hostPath);
    }
    return std::move(*content);
}

// Fills the buffer from the file, short only at its end; the count read.
std::size_t ReadPiece(int fd, std::span<char> buffer, const std::string& hostPath) {
    const std::optional<std::size_t> used = ReadUntilEnd(fd, buffer);
    if (!used) {
        throw ErrorFor(errno, hostPath);
    }
    return *used;
}

// At most count bytes from the current position, fewer only at the file's end.
std::string ReadUpTo(int fd, std::size_t count, const std::string& hostPath) {
    std::string bytes(count, '\0');
    bytes.resize(ReadPiece(fd, bytes, hostPath));
    return bytes;
}

// sizeAtOpen, when given, is the size the open saw: while nothing has been read or written it
// tells how much a read to the end expects, which saves asking the host again.
class PosixTextFile final : public TextFile {
public:
    PosixTextFile(FileDescriptor fd, std::string hostPath,
                  std::optional<std::size_t> sizeAtOpen = std::nullopt)
        : m_fd(std::move(fd)), m_sHostPath(std::move(hostPath)), m_sizeAtOpen(sizeAtOpen) {}

    void Write(std::string_view bytes) override { WriteAll(Used(), bytes, m_sHostPath); }

    std::string ReadAll() override { return ReadRest(Used(), m_sHostPath); }

    std::string ReadAtMost(std::size_t count) override {
        return ReadUpTo(Used(), count, m_sHostPath);
    }

    FileBytes ReadAllBytes() override {
        const std::size_t expected = m_sizeAtOpen ? *m_sizeAtOpen : ExpectedRest(m_fd.Get());
        std::optional<FileBytes> bytes = ReadToEndBytes(Used(), expected);
        if (!bytes) {
            throw ErrorFor(errno, m_sHostPath);
        }
        return std::move(*bytes);
    }

    void Close() override {
        RequireOpen(m_fd.Get());
        if (close(m_fd.Release()) != 0) {
            throw ErrorFor(errno, m_sHostPath);
        }
    }

    std::size_t ReadPiece(std::span<char> buffer) {
        return posix::ReadPiece(Used(), buffer, m_sHostPath);
    }

private:
    int Used() {
        RequireOpen(m_fd.Get());
        m_sizeAtOpen.reset();
        return m_fd.Get();
    }

    FileDescriptor m_fd;
    std::string m_sHostPath;
    std::optional<std::size_t> m_sizeAtOpen;
};

// A file written is never opened through a link at its name: a link planted there, dangling or
// not, fails the open (ELOOP, error 75) instead of creating or changing the file it points to.
int OpenFlags(OpenMode mode) {
    switch (mode) {
    case OpenMode::Output:
        return O_WRONLY | O_CREAT | O_NOFOLLOW;
    case OpenMode::Append:
        return O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW;
    case OpenMode::Input:
        return O_RDONLY;
    // Replace writes a temporary file, made as CreateNew makes a file.
    case OpenMode::CreateNew:
    case OpenMode::Replace:
        return O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
    }
    return O_RDONLY;
}

// Windows keeps a file from being deleted while a handle holds it without delete sharing, as
// the suite holds every temporary until it is moved into place (or closed), so no sweep of
// another program deletes one in use. Modelled with an open-file-description lock on one byte
// far past any data: it lives exactly as long as the handle (a classic record lock would end
// when the process closed any descriptor of the file, such as that of a test for the lock), it
// is apart from the flock that models the sharing mode, and it never meets a lock on content.
constexpr off_t kDeleteSharingByte = std::numeric_limits<off_t>::max();

struct flock DeleteSharingRange() {
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kDeleteSharingByte;
    range.l_len = 1;
    return range;
}

// Holds a file open for writing without delete sharing; false with errno set on a failure.
bool DenyDeleteSharing(int fd) {
    struct flock range = DeleteSharingRange();
    return fcntl(fd, F_OFD_SETLK, &range) == 0;
}

// Error 70 while a handle holds the file without delete sharing, as Windows refuses it.
void RefuseIfDeleteDenied(const std::string& hostPath) {
    const FileDescriptor fd(open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct flock range = DeleteSharingRange();
    if (fd.IsOpen() && fcntl(fd.Get(), F_OFD_GETLK, &range) == 0 && range.l_type != F_UNLCK) {
        throw Error::SharingViolation();
    }
}

// Tries before a temporary file is given up: a name is only taken again by chance, or by
// someone planting names, so a few suffice.
constexpr int kTemporaryNameAttempts = 16;

// The suite's temporary file beside a target: made exclusively, never through a link planted
// at its name, under a name nobody can predict; another name is tried when one is taken.
// Removed unless it is moved over its target.
class TemporaryFile {
public:
    TemporaryFile(const std::string& hostTarget, mode_t mode) {
        for (int attempt = 1;; ++attempt) {
            m_sHostPath = ParentOf(hostTarget) + "/" + TemporaryName(kCopyShape, RandomBits());
            m_fd.Reset(open(m_sHostPath.c_str(), OpenFlags(OpenMode::CreateNew) | O_CLOEXEC, mode));
            if (m_fd.IsOpen() && DenyDeleteSharing(m_fd.Get())) {
                return;
            }
            if (m_fd.IsOpen()) {
                const int error = errno;
                Discard();
                throw ErrorFor(error, hostTarget);
            }
            if (errno != EEXIST || attempt == kTemporaryNameAttempts) {
                m_sHostPath.clear();
                throw ErrorFor(errno, hostTarget);
            }
        }
    }
    ~TemporaryFile() { Discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Fd() const { return m_fd.Get(); }

    // Flushes the content to the disk and moves the file over hostTarget in one step, still
    // held, so that nobody deletes it on the way; then gives it the times given, if any (a
    // temporary keeps the time of its writing while in use, or another program's sweep would
    // take it for an old one). On a failure of the move the temporary is removed and the
    // target left as it was.
    void MoveOver(const std::string& hostTarget, const timespec* timesInPlace = nullptr) {
        if (fsync(m_fd.Get()) != 0 || rename(m_sHostPath.c_str(), hostTarget.c_str()) != 0) {
            const int error = errno;
            Discard();
            throw ErrorFor(error, hostTarget);
        }
        m_sHostPath.clear();
        const bool stamped = timesInPlace == nullptr || futimens(m_fd.Get(), timesInPlace) == 0;
        const int error = errno;
        // Flushed already: the close has nothing left to report.
        m_fd.Reset();
        if (!stamped) {
            throw ErrorFor(error, hostTarget);
        }
    }

private:
    void Discard() noexcept {
        m_fd.Reset();
        if (!m_sHostPath.empty()) {
            unlink(std::exchange(m_sHostPath, {}).c_str());
        }
    }

    FileDescriptor m_fd{-1};
    std::string m_sHostPath;
};

// A file written whole under a temporary name and moved over its target by Close.
class ReplacingTextFile final : public TextFile {
public:
    explicit ReplacingTextFile(std::string hostTarget)
        : m_sHostTarget(std::move(hostTarget)), m_temporary(m_sHostTarget, 0666) {
        // The new version keeps the permissions of the one it replaces.
        struct stat info {};
        if (stat(m_sHostTarget.c_str(), &info) == 0) {
            fchmod(m_temporary.Fd(), info.st_mode & 0777);
        }
    }

    void Write(std::string_view bytes) override {
        RequireOpen(m_temporary.Fd());
        WriteAll(m_temporary.Fd(), bytes, m_sHostTarget);
    }

    std::string ReadAll() override {
        RequireOpen(m_temporary.Fd());
        return ReadRest(m_temporary.Fd(), m_sHostTarget);
    }

    std::string ReadAtMost(std::size_t count) override {
        RequireOpen(m_temporary.Fd());
        return ReadUpTo(m_temporary.Fd(), count, m_sHostTarget);
    }

    void Close() override {
        RequireOpen(m_temporary.Fd());
        m_temporary.MoveOver(m_sHostTarget);
    }

private:
    std::string m_sHostTarget;
    TemporaryFile m_temporary;
};

// A Replace file written over its target, where no file can be made beside it (see OpenMode):
// opened as Output opens a file but never created, and never through a link. The text is held
// until Close, which cuts the target and writes it, so a file dropped unclosed leaves the
// target as it was.
class InPlaceTextFile final : public TextFile {
public:
    explicit InPlaceTextFile(std::string hostTarget)
        : m_sHostTarget(std::move(hostTarget)),
          m_fd(OpenOrdinaryFile(m_sHostTarget, O_WRONLY | O_NOFOLLOW)) {
        if (!m_fd.IsOpen() || flock(m_fd.Get(), LOCK_SH | LOCK_NB) != 0) {
            throw ErrorFor(errno, m_sHostTarget);
        }
    }

    void Write(std::string_view bytes) override {
        RequireOpen(m_fd.Get());
        m_sText.append(bytes);
    }

    // Written only: nothing of the target is read back.
    std::string ReadAll() override { throw Error(ldgr::kBadFileMode); }
    std::string ReadAtMost(std::size_t) override { throw Error(ldgr::kBadFileMode); }

    void Close() override {
        RequireOpen(m_fd.Get());
        const FileDescriptor fd(m_fd.Release());
        if (ftruncate(fd.Get(), 0) != 0) {
            throw ErrorFor(errno, m_sHostTarget);
        }
        WriteAll(fd.Get(), m_sText, m_sHostTarget);
        if (fsync(fd.Get()) != 0) {
            throw ErrorFor(errno, m_sHostTarget);
        }
    }

    bool WritesInPlace() const override { return true; }

private:
    std::string m_sHostTarget;
    FileDescriptor m_fd;
    std::string m_sText;
};

// A rewrite made beside its target where the folder allows; where the user may not make a file
// there (error 70 for missing rights, not for a holder) but the target exists, made in place.
// A read-only mount gives another error and stays refused.
std::unique_ptr<TextFile> OpenReplacing(const std::string& hostTarget) {
    try {
        return std::make_unique<ReplacingTextFile>(hostTarget);
    } catch (const Error& e) {
        struct stat info {};
        if (e.Number() != ldgr::kPermissionDenied || e.IsSharingViolation() ||
            lstat(hostTarget.c_str(), &info) != 0) {
            throw;
        }
    }
    return std::make_unique<InPlaceTextFile>(hostTarget);
}

// A link at the name of a file to be written is refused (75), whatever it points to; the open
// itself refuses one planted after this check.
void RefuseLink(const std::string& hostPath) {
    struct stat info {};
    if (lstat(hostPath.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        throw Error(ldgr::kPathFileAccessError);
    }
}

// A file that another process holds open with exclusive sharing is neither replaced nor
// deleted (error 70). Holders that share the file (readers, appenders) are not asked: they let
// others write meanwhile, and a lock that kept them out, even for a moment, would make a reader
// of the old copy fail. A missing file needs no check.
void RefuseIfHeldExclusively(const std::string& hostPath) {
    const FileDescriptor fd(open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() >= 0 && flock(fd.Get(), LOCK_SH | LOCK_NB) != 0) {
        throw ErrorFor(errno, hostPath);
    }
}

// A file is replaced only where Windows would let it be: an ordinary file that is not
// read-only and that no other process holds exclusively (a missing one needs no check).
void RefuseToReplace(const std::string& hostPath) {
    struct stat info {};
    if (stat(hostPath.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        throw Error(ldgr::kPathFileAccessError);
    }
    RefuseReadOnly(hostPath);
    RefuseIfHeldExclusively(hostPath);
}

void CopyContent(int from, int to, const std::string& hostTo) {
    std::vector<char> buffer(64 * 1024);
    std::size_t got = 0;
    do {
        got = ReadPiece(from, buffer, hostTo);
        WriteAll(to, std::string_view(buffer.data(), got), hostTo);
    } while (got == buffer.size());
}

// The classic error for a failed rename: the host says only "no such file" when either the
// file or the target's folder is missing.
Error MoveErrorFor(int error, const std::string& hostFrom, const std::string& hostTo) {
    struct stat info {};
    return lstat(hostFrom.c_str(), &info) == 0 ? ErrorFor(error, hostTo)
                                               : ErrorFor(errno, hostFrom);
}

// Whether a name comes before another in a Windows listing: names compared in capitals.
bool ListedBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(ldgr::ascii::Upper(x)) <
               static_cast<unsigned char>(ldgr::ascii::Upper(y));
    });
}

// Hands the entries to take in the order of a Windows listing, until take returns false. The
// order is found as it goes (a heap), so a caller that stops after the first few entries of a
// large folder does not pay for ordering the rest.
void TakeAsListed(std::vector<HostFolderEntry>& entries,
                  const std::function<bool(HostFolderEntry&&)>& take) {
    const auto later = [](const HostFolderEntry& a, const HostFolderEntry& b) {
        return ListedBefore(b.name, a.name);
    };
    std::make_heap(entries.begin(), entries.end(), later);
    for (auto end = entries.end(); end != entries.begin(); --end) {
        std::pop_heap(entries.begin(), end, later);
        if (!take(std::move(*(end - 1)))) {
            return;
        }
    }
}

FindEntry AttributesOnly(const std::string& name, bool isFolder) {
    FindEntry entry;
    entry.name = name;
    entry.isFolder = isFolder;
    entry.isHidden = IsHiddenName(name);
    return entry;
}

class PosixFileSystem final : public FileSystem {
    static constexpr std::size_t kComparedPiece = 64 * 1024;

public:
    // The path as written first: for an unchanged file that one query is all.
    std::optional<FileVersion> VersionOf(const std::string& path) override {
        if (HasWildcard(path)) {
            return std::nullopt;
        }
        struct stat info {};
        if (stat(ToHostPathAsWritten(path).c_str(), &info) != 0 &&
            stat(ToHostPath(path).c_str(), &info) != 0) {
            return std::nullopt;
        }
        return S_ISREG(info.st_mode) ? std::optional(VersionFrom(info)) : std::nullopt;
    }

    std::optional<FindEntry> FindFirst(const std::string& path) override {
        const auto [folder, name] = SplitLast(path);
        if (name.empty()) {
            return std::nullopt;
        }
        if (!HasWildcard(name)) {
            const std::string host = ToHostPath(path);
            return EntryAt(host, HostToCodePage(host.substr(host.find_last_of('/') + 1)));
        }
        std::optional<FindEntry> first;
        Visit(path, FindDetail::AttributesAndTimes, true, [&](const FindEntry& entry) {
            first = entry;
            return false;
        });
        return first;
    }

    std::vector<FindEntry> FindAll(const std::string& pattern, FindDetail detail) override {
        std::vector<FindEntry> found;
        Visit(pattern, detail, true, [&](const FindEntry& entry) {
            found.push_back(entry);
            return true;
        });
        return found;
    }

    void VisitUnordered(const std::string& pattern, FindDetail detail,
                        const FindVisitor& visit) override {
        Visit(pattern, detail, false, visit);
    }

    void VisitInOrder(const std::string& pattern, FindDetail detail,
                      const FindVisitor& visit) override {
        Visit(pattern, detail, true, visit);
    }

    void CreateFolder(const std::string& path) override {
        const std::string host = ToHostPath(path);
        if (mkdir(host.c_str(), 0777) != 0) {
            const int error = errno;
            if (error == EEXIST || error == EACCES || error == EPERM || error == EROFS) {
                throw Error(ldgr::kPathFileAccessError);
            }
            throw ErrorFor(error, host);
        }
    }

    void CopyFile(const std::string& from, const std::string& to) override {
        const std::string hostFrom = ToHostPath(from);
        const std::string hostTo = ToHostPath(to);
        const FileDescriptor source(OpenOrdinaryFile(hostFrom, O_RDONLY));
        struct stat info {};
        if (source.Get() < 0 || fstat(source.Get(), &info) != 0) {
            throw ErrorFor(errno, hostFrom);
        }
        if (IsFolder(hostTo)) {
            throw Error(ldgr::kPermissionDenied);
        }
        RefuseToReplace(hostTo);
        // The copy is written beside the target and moved over it, so a reader never sees
        // half a file, and programs copying at the same moment do not disturb each other. It
        // is writable whatever the source: administrators make the shared file read-only, and
        // a read-only copy would refuse every later refresh.
        TemporaryFile copy(hostTo, (info.st_mode & 0777) | S_IWUSR);
        CopyContent(source.Get(), copy.Fd(), hostTo);
        const timespec times[2] = {info.st_atim, info.st_mtim};
        copy.MoveOver(hostTo, times);
    }

    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        const std::string hostFrom = ToHostPath(from);
        const std::string hostTo = ToHostPath(to);
        if (renameat2(AT_FDCWD, hostFrom.c_str(), AT_FDCWD, hostTo.c_str(), RENAME_NOREPLACE) ==
            0) {
            return;
        }
        if (errno != EINVAL && errno != ENOSYS) {
            throw MoveErrorFor(errno, hostFrom, hostTo);
        }
        // File systems without the no-replace rename: a hard link fails when the name exists.
        if (link(hostFrom.c_str(), hostTo.c_str()) != 0) {
            throw MoveErrorFor(errno, hostFrom, hostTo);
        }
        unlink(hostFrom.c_str());
    }

    void DeleteFile(const std::string& path) override {
        const std::string host = ToHostPath(path);
        RefuseFolder(host);
        RefuseReadOnly(host);
        RefuseIfHeldExclusively(host);
        RefuseIfDeleteDenied(host);
        if (unlink(host.c_str()) != 0) {
            throw ErrorFor(errno, host);
        }
    }

    std::unique_ptr<TextFile> OpenText(const std::string& path, OpenMode mode,
                                       ShareMode share) override {
        if (mode == OpenMode::Input) {
            return OpenForReading(path, share);
        }
        const std::string host = ToHostPath(path);
        if (mode != OpenMode::Replace) {
            return OpenDescriptor(host, mode, share);
        }
        RefuseFolder(host);
        RefuseToReplace(host);
        return OpenReplacing(host);
    }

    bool HoldsBytes(const std::string& path, std::string_view bytes) override {
        const std::unique_ptr<PosixTextFile> file = OpenForReading(path, ShareMode::DenyNone);
        std::vector<char> piece(kComparedPiece);
        for (;;) {
            const std::size_t got = file->ReadPiece(piece);
            if (got > bytes.size() ||
                !std::equal(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(got),
                            bytes.begin())) {
                return false;
            }
            bytes.remove_prefix(got);
            if (got < kComparedPiece) {
                return bytes.empty();
            }
        }
    }

private:
    // The path as written first, as VersionOf queries it: a file read again and again is then
    // opened without matching its path's components, which costs a query each. Only a path
    // that is not there as written is matched.
    static std::unique_ptr<PosixTextFile> OpenForReading(const std::string& path, ShareMode share) {
        const std::string asWritten = ToHostPathAsWritten(path);
        std::size_t size = 0;
        FileDescriptor fd(OpenOrdinaryFile(asWritten, O_RDONLY, 0, &size));
        if (fd.IsOpen()) {
            return WithSharing(std::move(fd), asWritten, OpenMode::Input, share, size);
        }
        return OpenDescriptor(ToHostPath(path), OpenMode::Input, share);
    }

    // A file opened on its descriptor (any mode but Replace), with its sharing mode taken.
    static std::unique_ptr<PosixTextFile> OpenDescriptor(const std::string& host, OpenMode mode,
                                                         ShareMode share) {
        const bool writing = mode == OpenMode::Output || mode == OpenMode::Append;
        if (writing) {
            RefuseLink(host);
        }
        RefuseFolder(host);
        if (writing) {
            RefuseReadOnly(host);
        }
        FileDescriptor fd(OpenOrdinaryFile(host, OpenFlags(mode), 0666));
        if (fd.Get() < 0) {
            throw ErrorFor(errno, host);
        }
        return WithSharing(std::move(fd), host, mode, share);
    }

    // An open file with its sharing mode taken and its mode's start made.
    static std::unique_ptr<PosixTextFile>
    WithSharing(FileDescriptor fd, const std::string& host, OpenMode mode, ShareMode share,
                std::optional<std::size_t> sizeAtOpen = std::nullopt) {
        // Windows sharing modes, emulated with advisory locks between the suite's processes.
        const int lock = share == ShareMode::Exclusive ? LOCK_EX : LOCK_SH;
        if (flock(fd.Get(), lock | LOCK_NB) != 0) {
            throw ErrorFor(errno, host);
        }
        // A temporary is held without delete sharing, as the Windows build makes it.
        if (mode == OpenMode::CreateNew && !DenyDeleteSharing(fd.Get())) {
            throw ErrorFor(errno, host);
        }
        if (mode == OpenMode::Output && ftruncate(fd.Get(), 0) != 0) {
            throw ErrorFor(errno, host);
        }
        return std::make_unique<PosixTextFile>(std::move(fd), host, sizeAtOpen);
    }

    // Hands each entry matching the pattern to visit, in the order of a Windows listing when
    // sorted, else as the host reads them, until visit returns false.
    void Visit(const std::string& pattern, FindDetail detail, bool sorted,
               const FindVisitor& visit) {
        // References, not a structured binding, which older compilers cannot capture below.
        const std::pair<std::string, std::string> split = SplitLast(pattern);
        const std::string& folder = split.first;
        const std::string& name = split.second;
        if (name.empty()) {
            return;
        }
        if (!HasWildcard(name)) {
            if (auto entry = FindFirst(pattern)) {
                visit(*entry);
            }
            return;
        }
        const std::string hostFolder = folder.empty() ? ToHostPath(".") : ToHostPath(folder);
        const auto matching = [&](HostFolderEntry&& listed) {
            // The program sees names in its code page; the host keeps its own.
            const std::string entryName = HostToCodePage(listed.name);
            if (!MatchesPattern(entryName, name)) {
                return true;
            }
            if (detail == FindDetail::Attributes && listed.kind != DT_UNKNOWN &&
                listed.kind != DT_LNK) {
                return visit(AttributesOnly(entryName, listed.kind == DT_DIR));
            }
            const std::string host = listed.name == "."    ? hostFolder
                                     : listed.name == ".." ? ParentOf(hostFolder)
                                                           : hostFolder + "/" + listed.name;
            // An entry the host lists but will not let us examine (a folder that may be read
            // but not searched) is shown with the listing's attributes: its name is taken. One
            // gone since the folder was read is not shown.
            if (const std::optional<FindEntry> entry = EntryAt(host, entryName)) {
                return visit(*entry);
            }
            return errno == ENOENT || visit(AttributesOnly(entryName, listed.kind == DT_DIR));
        };
        // Judged by the folder's own Windows name, so "C:\\x\\.." and a relative pattern in a
        // root count as the root they name.
        const bool withDotEntries = !IsRootFolder(ToWindowsPath(hostFolder));
        if (!sorted) {
            VisitHostFolder(hostFolder, withDotEntries, matching);
            return;
        }
        std::optional<std::vector<HostFolderEntry>> listing = ReadHostFolder(hostFolder);
        if (!listing ||
            (withDotEntries && (!matching({".", DT_DIR}) || !matching({"..", DT_DIR})))) {
            return;
        }
        TakeAsListed(*listing, matching);
    }
};

} // namespace

} // namespace platform::posix

namespace platform {

// The build's real file system service.
FileSystem& RealFiles() {
    static posix::PosixFileSystem files;
    return files;
}

} // namespace platform
