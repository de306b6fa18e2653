// Files and folders through the ANSI file calls of the Windows kernel.
#include "ledgerline/platform/TemporaryName.h"
#include "ledgerline/platform/win32/Win32.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace platform::win32 {
namespace {

using ldgr::Error;

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != kNoAttributes && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::uint64_t Join(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

FindEntry EntryFor(const WIN32_FIND_DATAA& data) {
    FindEntry entry;
    entry.name = data.cFileName;
    entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.isHidden = (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    entry.isSystem = (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
    entry.isReadOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    entry.lastWriteTime =
        Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    entry.size = entry.isFolder ? 0 : Join(data.nFileSizeHigh, data.nFileSizeLow);
    return entry;
}

// A search names nothing when its last component is empty ("C:\dir\", "C:").
bool NamesNothing(const std::string& path) {
    return path.empty() || path.back() == '\\' || path.back() == '/' ||
           (path.size() == 2 && path[1] == ':');
}

class Search {
public:
    explicit Search(const std::string& pattern) {
        if (!NamesNothing(pattern)) {
            *m_handle.Receive() = FindFirstFileA(pattern.c_str(), &m_data);
        }
    }
    bool HasEntry() const { return m_handle.IsValid(); }
    FindEntry Entry() const { return EntryFor(m_data); }
    bool Next() {
        if (FindNextFileA(m_handle.Get(), &m_data) != 0) {
            return true;
        }
        m_handle.Close();
        return false;
    }

private:
    WIN32_FIND_DATAA m_data{};
    FindHandle m_handle;
};

void RequireOpen(const KernelHandle& file) {
    if (!file.IsValid()) {
        throw Error(ldgr::kBadFileNameOrNumber);
    }
}

void WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0) {
            throw LastError();
        }
        bytes.remove_prefix(written);
    }
}

// Reads a file from its current position to the end, handing each piece read to use.
template <class Use> void ReadPieces(HANDLE file, Use&& use) {
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (ReadFile(file, buffer, sizeof buffer, &got, nullptr) == 0) {
            throw LastError();
        }
        if (got == 0) {
            return;
        }
        use(std::string_view(buffer, got));
    }
}

// The rest of a file from the current position.
std::string ReadRest(HANDLE file) {
    std::string content;
    ReadPieces(file, [&](std::string_view piece) { content.append(piece); });
    return content;
}

// At most count bytes from the current position, fewer only at the file's end.
std::string ReadUpTo(HANDLE file, std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t used = 0;
    while (used < count) {
        DWORD got = 0;
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(count - used, 1u << 20));
        if (ReadFile(file, bytes.data() + used, asked, &got, nullptr) == 0) {
            throw LastError();
        }
        if (got == 0) {
            break;
        }
        used += got;
    }
    bytes.resize(used);
    return bytes;
}

// Writes what the system still holds of a file to the disk or the file server. A failure
// there means the file never fully arrived, however well every write went.
void FlushToDisk(HANDLE file) {
    if (FlushFileBuffers(file) == 0) {
        throw FlushErrorFromCode(GetLastError());
    }
}

class WindowsTextFile final : public TextFile {
public:
    WindowsTextFile(KernelHandle file, bool written)
        : m_file(std::move(file)), m_bWritten(written) {}

    void Write(std::string_view bytes) override {
        RequireOpen(m_file);
        WriteAll(m_file.Get(), bytes);
    }

    std::string ReadAll() override {
        RequireOpen(m_file);
        return ReadRest(m_file.Get());
    }

    std::string ReadAtMost(std::size_t count) override {
        RequireOpen(m_file);
        return ReadUpTo(m_file.Get(), count);
    }

    // A written file is flushed first: a file server may accept every write and fail
    // writing them behind, and the file must not be taken as complete then.
    void Close() override {
        RequireOpen(m_file);
        KernelHandle file = std::move(m_file);
        if (m_bWritten) {
            FlushToDisk(file.Get());
        }
        if (!file.Close()) {
            throw LastError();
        }
    }

private:
    KernelHandle m_file;
    bool m_bWritten;
};

struct OpenRequest {
    DWORD access;
    DWORD disposition;
    DWORD flags = 0;
};

// A file written is opened at its name itself, never through a link there: the open takes a
// reparse point (a symbolic link, a junction) as it is, dangling or not, and the file is then
// refused. Opened, not created anew, so a link is found before anything is cut; Output cuts the
// file once it is known. Reading the attributes tells a reparse point.
constexpr DWORD kWritingFlags = FILE_FLAG_OPEN_REPARSE_POINT;

OpenRequest RequestFor(OpenMode mode) {
    switch (mode) {
    case OpenMode::Output:
        return {GENERIC_WRITE | FILE_READ_ATTRIBUTES, OPEN_ALWAYS, kWritingFlags};
    // Appending access alone: every write lands at the end, also with other writers.
    case OpenMode::Append:
        return {FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, OPEN_ALWAYS, kWritingFlags};
    case OpenMode::Input:
        return {GENERIC_READ, OPEN_EXISTING};
    // CREATE_NEW fails on any existing name, a link included, without following it. Replace
    // writes a temporary file made that way.
    case OpenMode::CreateNew:
    case OpenMode::Replace:
        return {GENERIC_WRITE, CREATE_NEW};
    }
    return {GENERIC_READ, OPEN_EXISTING};
}

// A Replace target rewritten in place: opened as Output opens a file, but never created.
constexpr OpenRequest kRewriteInPlace{GENERIC_WRITE | FILE_READ_ATTRIBUTES, OPEN_EXISTING,
                                      kWritingFlags};

DWORD SharingFor(ShareMode share) {
    return share == ShareMode::Exclusive ? 0
                                         : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
}

// Only files on a disk are read, written or copied: a device (NUL, CON, COM1) or a pipe is
// refused at once, never read without end or waited on.
void RefuseUnlessOnDisk(const KernelHandle& file) {
    if (GetFileType(file.Get()) != FILE_TYPE_DISK) {
        throw Error(ldgr::kPathFileAccessError);
    }
}

// A link or other reparse point opened as itself, at the name of a file to be written, is
// refused with 75.
void RefuseReparsePoint(const KernelHandle& file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileInformationByHandle(file.Get(), &information) == 0) {
        throw LastError();
    }
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        throw Error(ldgr::kPathFileAccessError);
    }
}

// A temporary that CreateNew makes is held without delete sharing until it is closed, so no
// sweep of another program deletes it while it is written.
DWORD SharingOfOpen(OpenMode mode, ShareMode share) {
    const DWORD sharing = SharingFor(share);
    return mode == OpenMode::CreateNew ? sharing & ~DWORD{FILE_SHARE_DELETE} : sharing;
}

// Cuts a file just opened to nothing. Unlike CREATE_ALWAYS, which Windows refuses over a hidden
// or system file unless the call names those attributes, the file keeps its attributes.
void CutToNothing(const KernelHandle& file) {
    if (SetEndOfFile(file.Get()) == 0) {
        throw LastError();
    }
}

// The full path of a file, as the rename by handle takes it.
std::string FullPathOf(const std::string& path) {
    const DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    std::string full(size, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        throw LastError();
    }
    full.resize(length);
    return full;
}

// A temporary's path as the wide calls take it. Its name may be longer than the name of the
// target it stands for, so where the path passes MAX_PATH it is given in the long-path form
// ("\\?\" and the full path), which the limit does not bind: a temporary fits wherever its
// target does. Other files keep the limit, as the system's calls set it.
std::wstring TemporaryPath(const std::string& path) {
    std::wstring wide = ToWide(path);
    if (path.size() < MAX_PATH) {
        return wide;
    }
    // The wide call: the ANSI one stops at the limit itself.
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        throw LastError();
    }
    full.resize(length);
    return full.starts_with(L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

KernelHandle OpenAsRequested(const std::wstring& path, const OpenRequest& request, DWORD sharing) {
    KernelHandle file(CreateFileW(path.c_str(), request.access, sharing, nullptr,
                                  request.disposition, FILE_ATTRIBUTE_NORMAL | request.flags,
                                  nullptr));
    if (!file.IsValid()) {
        throw LastError();
    }
    RefuseUnlessOnDisk(file);
    if ((request.flags & FILE_FLAG_OPEN_REPARSE_POINT) != 0) {
        RefuseReparsePoint(file);
    }
    return file;
}

KernelHandle OpenOnDisk(const std::string& path, OpenMode mode, ShareMode share) {
    // CreateNew makes every temporary.
    return OpenAsRequested(mode == OpenMode::CreateNew ? TemporaryPath(path) : ToWide(path),
                           RequestFor(mode), SharingOfOpen(mode, share));
}

// The hidden and system attributes of a file a new one replaces, to be given to the new one: a
// move puts the new file in place with its own attributes. Normal for a missing target.
DWORD AttributesToKeep(const std::string& target) {
    const DWORD existing = AttributesOf(target);
    const DWORD kept =
        existing == kNoAttributes ? 0 : existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

// A file is replaced only where Windows lets a rename replace it: a file on a disk that is not
// read-only (Wine replaces a read-only one; Windows refuses) and that no other process holds
// without delete sharing, which keeps it from being deleted as every rename over it must. A
// file others have open with delete sharing passes: the rename at Close replaces it where the
// system can, and waits a moment for it where it cannot. A missing target needs no check; the
// temporary file beside it tells a missing folder. False where the user has no right to delete
// the file (a share that grants write but not delete): no rename can replace it then.
bool CanBeReplaced(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    if (attributes == kNoAttributes) {
        return true;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        throw Error(ldgr::kPermissionDenied);
    }
    // The name itself, as the rename replaces it: a link there, not what it points to.
    const KernelHandle file(
        CreateFileA(path.c_str(), DELETE, SharingFor(ShareMode::DenyNone), nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.IsValid()) {
        const DWORD code = GetLastError();
        if (code == ERROR_ACCESS_DENIED) {
            return false;
        }
        throw ErrorFromCode(code);
    }
    RefuseUnlessOnDisk(file);
    return true;
}

// The same checks, where only a rename will do: missing rights refuse it too.
void RefuseToReplace(const std::string& path) {
    if (!CanBeReplaced(path)) {
        throw Error(ldgr::kPermissionDenied);
    }
}

// The rename that replaces a file other programs have open, the old file unlinked as POSIX
// unlinks it, its open handles still valid (Windows 10 1709 and later, on file systems that
// support it). Declared here as documented: the MinGW-w64 headers declare the class, the flags
// and the Flags member only for newer target versions than this build names.
constexpr auto kFileRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;
struct RenameInfoEx {
    DWORD Flags;
    HANDLE RootDirectory;
    DWORD FileNameLength; // bytes, without a terminating null
    WCHAR FileName[1];
};
// The layout the system reads, in both builds: the flags, the root folder's handle aligned as a
// pointer, the name's length in bytes, the name.
constexpr bool kWidePointers = sizeof(void*) == 8;
static_assert(offsetof(RenameInfoEx, Flags) == 0);
static_assert(offsetof(RenameInfoEx, RootDirectory) == (kWidePointers ? 8 : 4));
static_assert(offsetof(RenameInfoEx, FileNameLength) == (kWidePointers ? 16 : 8));
static_assert(offsetof(RenameInfoEx, FileName) == (kWidePointers ? 20 : 12));

// Renames an open file, opened with DELETE access, over target; the system's error code, or
// ERROR_SUCCESS.
DWORD RenameOpenFileOver(HANDLE file, const std::string& target) {
    const std::wstring name = ToWide(FullPathOf(target));
    const std::size_t nameBytes = name.size() * sizeof(WCHAR);
    const std::size_t size = offsetof(RenameInfoEx, FileName) + nameBytes + sizeof(WCHAR);
    std::vector<RenameInfoEx> buffer(size / sizeof(RenameInfoEx) + 1);
    buffer[0].Flags = kRenameReplaceIfExists | kRenamePosixSemantics;
    buffer[0].RootDirectory = nullptr;
    buffer[0].FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(reinterpret_cast<char*>(buffer.data()) + offsetof(RenameInfoEx, FileName),
                name.data(), nameBytes);
    return SetFileInformationByHandle(file, kFileRenameInfoEx, buffer.data(),
                                      static_cast<DWORD>(size)) != 0
               ? ERROR_SUCCESS
               : GetLastError();
}

// What a system or file system without that rename answers when asked for it.
bool IsUnsupported(DWORD code) {
    return code == ERROR_INVALID_PARAMETER || code == ERROR_NOT_SUPPORTED ||
           code == ERROR_INVALID_FUNCTION || code == ERROR_CALL_NOT_IMPLEMENTED;
}

// A replacing rename, by name or by handle, fails while another program has the target open
// without delete sharing (access denied; the file-system protocol refuses to replace an open
// file) or is opening it (sharing violation). Programs read the suite's files for a moment, so
// both renames are tried for about a second before they fail.
void MoveReplacing(const std::string& from, const std::string& to) {
    const DWORD code = RetryWhileHeld([&] {
        return MoveFileExW(TemporaryPath(from).c_str(), ToWide(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0
                   ? ERROR_SUCCESS
                   : GetLastError();
    });
    if (code != ERROR_SUCCESS) {
        throw ErrorFromCode(code);
    }
}

// Tries before a temporary file is given up: a name is only taken again by chance, or by
// someone planting names, so a few suffice.
constexpr int kTemporaryNameAttempts = 16;

// The suite's temporary file beside a target: made exclusively, never through a link planted
// at its name, under a name nobody can predict; another name is tried when one is taken.
// Removed unless it is moved over its target. Opened with DELETE access too, so it can be
// renamed through its own handle. Made with the hidden and system attributes of the target.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        const std::string folder = FolderOf(target);
        const std::string prefix =
            folder.empty() || folder.ends_with('\\') ? folder : folder + "\\";
        const OpenRequest request = RequestFor(OpenMode::CreateNew);
        const DWORD attributes = AttributesToKeep(target);
        for (int attempt = 1;; ++attempt) {
            m_sPath = prefix + TemporaryName(kCopyShape, RandomBits());
            *m_file.Receive() = CreateFileW(TemporaryPath(m_sPath).c_str(), request.access | DELETE,
                                            0, nullptr, request.disposition, attributes, nullptr);
            if (m_file.IsValid()) {
                return;
            }
            const DWORD code = GetLastError();
            const bool taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
            if (!taken || attempt == kTemporaryNameAttempts) {
                m_sPath.clear();
                throw ErrorFromCode(code);
            }
        }
    }
    ~TemporaryFile() { Discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const KernelHandle& File() const { return m_file; }

    // Flushes the content to the disk and moves the file over target in one step, then gives it
    // the last-write time given, if any (a temporary keeps the time of its writing while in
    // use, or another program's sweep would take it for an old one). On a failure the
    // temporary is removed and the target left as it was.
    void MoveOver(const std::string& target, const FILETIME* lastWriteInPlace = nullptr) {
        try {
            FlushToDisk(m_file.Get());
            PutInPlace(target, lastWriteInPlace);
        } catch (...) {
            Discard();
            throw;
        }
    }

private:
    // The rename by handle replaces a target others have open; where the system lacks it, the
    // classic move of the closed file does, once the others have let go of the target.
    void PutInPlace(const std::string& target, const FILETIME* lastWrite) {
        const DWORD code = RetryWhileHeld([&] { return RenameOpenFileOver(m_file.Get(), target); });
        if (code == ERROR_SUCCESS) {
            m_sPath.clear();
            StampLastWrite(m_file, lastWrite);
            m_file.Close();
            return;
        }
        if (!IsUnsupported(code)) {
            throw ErrorFromCode(code);
        }
        if (!m_file.Close()) {
            throw LastError();
        }
        MoveReplacing(m_sPath, target);
        m_sPath.clear();
        if (lastWrite != nullptr) {
            const KernelHandle placed(CreateFileA(target.c_str(), FILE_WRITE_ATTRIBUTES,
                                                  SharingFor(ShareMode::DenyNone), nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            StampLastWrite(placed, lastWrite);
        }
    }

    static void StampLastWrite(const KernelHandle& file, const FILETIME* lastWrite) {
        if (lastWrite != nullptr &&
            (!file.IsValid() || SetFileTime(file.Get(), nullptr, nullptr, lastWrite) == 0)) {
            throw LastError();
        }
    }

    void Discard() noexcept {
        m_file.Close();
        if (!m_sPath.empty()) {
            ::DeleteFileW(TemporaryPath(std::exchange(m_sPath, {})).c_str());
        }
    }

    KernelHandle m_file;
    std::string m_sPath;
};

// A file written whole under a temporary name and moved over its target by Close.
class ReplacingTextFile final : public TextFile {
public:
    explicit ReplacingTextFile(std::string target)
        : m_sTarget(std::move(target)), m_temporary(m_sTarget) {}

    void Write(std::string_view bytes) override {
        RequireOpen(m_temporary.File());
        WriteAll(m_temporary.File().Get(), bytes);
    }

    std::string ReadAll() override {
        RequireOpen(m_temporary.File());
        return ReadRest(m_temporary.File().Get());
    }

    std::string ReadAtMost(std::size_t count) override {
        RequireOpen(m_temporary.File());
        return ReadUpTo(m_temporary.File().Get(), count);
    }

    void Close() override {
        RequireOpen(m_temporary.File());
        m_temporary.MoveOver(m_sTarget);
    }

private:
    std::string m_sTarget;
    TemporaryFile m_temporary;
};

// A Replace file written over its target, where no file can be made or replaced beside it (see
// OpenMode): the text is held until Close, which cuts the target and writes it, so a file
// dropped unclosed leaves the target as it was. The target keeps its attributes.
class InPlaceTextFile final : public TextFile {
public:
    explicit InPlaceTextFile(const std::string& target)
        : m_file(
              OpenAsRequested(ToWide(target), kRewriteInPlace, SharingFor(ShareMode::DenyNone))) {}

    void Write(std::string_view bytes) override {
        RequireOpen(m_file);
        m_sText.append(bytes);
    }

    // Written only: nothing of the target is read back.
    std::string ReadAll() override { throw Error(ldgr::kBadFileMode); }
    std::string ReadAtMost(std::size_t) override { throw Error(ldgr::kBadFileMode); }

    void Close() override {
        RequireOpen(m_file);
        KernelHandle file = std::move(m_file);
        CutToNothing(file);
        WriteAll(file.Get(), m_sText);
        FlushToDisk(file.Get());
        if (!file.Close()) {
            throw LastError();
        }
    }

    bool WritesInPlace() const override { return true; }

private:
    KernelHandle m_file;
    std::string m_sText;
};

// A rewrite made beside its target where the user may make a file there and replace the
// target; where the target exists but cannot be replaced, or no file can be made beside it
// (access denied, not a holder), made in place.
std::unique_ptr<TextFile> OpenReplacing(const std::string& path) {
    if (CanBeReplaced(path)) {
        try {
            return std::make_unique<ReplacingTextFile>(path);
        } catch (const Error& e) {
            if (e.Number() != ldgr::kPermissionDenied || e.IsSharingViolation() ||
                AttributesOf(path) == kNoAttributes) {
                throw;
            }
        }
    }
    return std::make_unique<InPlaceTextFile>(path);
}

void CopyContent(HANDLE from, HANDLE to) {
    ReadPieces(from, [&](std::string_view piece) { WriteAll(to, piece); });
}

// The version of an open file: its volume and file number tell the file itself, the change
// time any change of content or attributes.
std::optional<FileVersion> VersionOfOpenFile(const KernelHandle& file) {
    BY_HANDLE_FILE_INFORMATION information{};
    FILE_BASIC_INFO basic{};
    if (GetFileType(file.Get()) != FILE_TYPE_DISK ||
        GetFileInformationByHandle(file.Get(), &information) == 0 ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        GetFileInformationByHandleEx(file.Get(), FileBasicInfo, &basic, sizeof basic) == 0) {
        return std::nullopt;
    }
    return FileVersion{.size = Join(information.nFileSizeHigh, information.nFileSizeLow),
                       .lastWriteTime = Join(information.ftLastWriteTime.dwHighDateTime,
                                             information.ftLastWriteTime.dwLowDateTime),
                       .changeTime = static_cast<std::uint64_t>(basic.ChangeTime.QuadPart),
                       .volume = information.dwVolumeSerialNumber,
                       .fileIndex = Join(information.nFileIndexHigh, information.nFileIndexLow)};
}

class WindowsFileSystem final : public FileSystem {
public:
    // Opened for its attributes alone, which neither blocks nor disturbs another program's
    // open, whatever sharing that program asked for.
    std::optional<FileVersion> VersionOf(const std::string& path) override {
        if (path.find_first_of("*?") != std::string::npos) {
            return std::nullopt;
        }
        const KernelHandle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        if (!file.IsValid()) {
            return std::nullopt;
        }
        return VersionOfOpenFile(file);
    }

    std::optional<FindEntry> FindFirst(const std::string& path) override {
        const Search search(path);
        if (!search.HasEntry()) {
            return std::nullopt;
        }
        return search.Entry();
    }

    // A Windows directory read brings the times with the attributes: one detail serves both.
    std::vector<FindEntry> FindAll(const std::string& pattern, FindDetail detail) override {
        return FindAllUnordered(pattern, detail);
    }

    // The system lists in its file system's own order, sorted or not: a search is one walk.
    void VisitUnordered(const std::string& pattern, FindDetail, const FindVisitor& visit) override {
        Search search(pattern);
        if (!search.HasEntry()) {
            return;
        }
        while (visit(search.Entry()) && search.Next()) {
        }
    }

    void CreateFolder(const std::string& path) override {
        if (CreateDirectoryA(path.c_str(), nullptr) != 0) {
            return;
        }
        const DWORD code = GetLastError();
        if (code == ERROR_ALREADY_EXISTS || code == ERROR_ACCESS_DENIED ||
            code == ERROR_WRITE_PROTECT) {
            throw Error(ldgr::kPathFileAccessError);
        }
        throw ErrorFromCode(code);
    }

    // The copy is made beside the target and moved over it, so a reader never sees half a
    // file and programs copying at the same moment do not disturb each other. The content is
    // copied here rather than by CopyFileA: that call cannot write into the temporary file
    // held open since CREATE_NEW made it, and closing it first would let a link be planted at
    // its name for the copy to follow. The copy takes the source's last-write time but none of
    // its attributes, so it is never read-only: administrators make the shared file read-only,
    // and a read-only copy would refuse every later refresh.
    void CopyFile(const std::string& from, const std::string& to) override {
        if (IsFolder(from)) {
            throw Error(ldgr::kPathFileAccessError);
        }
        if (IsFolder(to)) {
            throw Error(ldgr::kPermissionDenied);
        }
        const KernelHandle source = OpenOnDisk(from, OpenMode::Input, ShareMode::DenyNone);
        FILETIME lastWrite{};
        if (GetFileTime(source.Get(), nullptr, nullptr, &lastWrite) == 0) {
            throw LastError();
        }
        RefuseToReplace(to);
        TemporaryFile copy(to);
        CopyContent(source.Get(), copy.File().Get());
        copy.MoveOver(to, &lastWrite);
    }

    // The file moved or deleted may be a temporary (a job record on its way to its number).
    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        if (MoveFileExW(TemporaryPath(from).c_str(), ToWide(to).c_str(), MOVEFILE_WRITE_THROUGH) ==
            0) {
            throw LastError();
        }
    }

    void DeleteFile(const std::string& path) override {
        if (IsFolder(path)) {
            throw Error(ldgr::kPathFileAccessError);
        }
        if (::DeleteFileW(TemporaryPath(path).c_str()) == 0) {
            throw LastError();
        }
    }

    std::unique_ptr<TextFile> OpenText(const std::string& path, OpenMode mode,
                                       ShareMode share) override {
        if (IsFolder(path)) {
            throw Error(ldgr::kPathFileAccessError);
        }
        if (mode == OpenMode::Replace) {
            return OpenReplacing(path);
        }
        KernelHandle file = OpenOnDisk(path, mode, share);
        if (mode == OpenMode::Output) {
            CutToNothing(file);
        }
        return std::make_unique<WindowsTextFile>(std::move(file), mode != OpenMode::Input);
    }
};

} // namespace

} // namespace platform::win32

namespace platform {

// The build's real file service: a library that reads files (KorvaneIni.dll) links this file
// alone, which needs nothing beyond KERNEL32.
FileSystem& RealFiles() {
    static win32::WindowsFileSystem files;
    return files;
}

} // namespace platform
