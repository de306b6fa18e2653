/// @file
/// File and folder operations on Windows paths (backslash separators, drive letters, UNC names).
#pragma once

#include "ledgerline/platform/FileBytes.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// One match of a file search, as the system's find-first/find-next calls report it.
struct FindEntry {
    std::string name;                ///< the name as stored, without folder
    bool isFolder = false;           ///< a folder
    bool isHidden = false;           ///< has the hidden attribute
    bool isSystem = false;           ///< has the system attribute
    bool isReadOnly = false;         ///< has the read-only attribute
    std::uint64_t lastWriteTime = 0; ///< FILETIME: 100 ns intervals since 1601-01-01 UTC
    std::uint64_t size = 0;          ///< in bytes

    /// An ordinary file: not a folder, not hidden, not a system file.
    bool IsOrdinaryFile() const { return !isFolder && !isHidden && !isSystem; }
};

/// What tells one version of a file's content from another. Besides the size and the last-write
/// time, which any program can set back, the change time and the file's identity (its volume
/// and its number there), which none can: a file rewritten with the same size and time stamp,
/// or another file renamed over it, is another version.
struct FileVersion {
    std::uint64_t size = 0;          ///< in bytes
    std::uint64_t lastWriteTime = 0; ///< FILETIME
    std::uint64_t changeTime = 0;    ///< the last change of content or attributes; FILETIME
    std::uint64_t volume = 0;        ///< the volume holding the file
    std::uint64_t fileIndex = 0;     ///< the file's number on its volume

    /// Whether both name the same version of the same file.
    bool operator==(const FileVersion&) const = default;
};

/// Takes one entry of a listing; false to stop the listing there.
using FindVisitor = std::function<bool(const FindEntry&)>;

/// What a listing fills in: the attributes alone (name, folder, hidden, system), which a
/// directory read gives at once, or also the last-write time, size and read-only flag, which
/// may cost a query per entry.
enum class FindDetail { Attributes, AttributesAndTimes };

/// Output replaces or creates; Append adds at the end; Input reads. CreateNew makes a file that
/// must not exist yet (error 58 when the name is taken, by a link too): the way every temporary
/// file is made, so a name planted beforehand is never followed or reused. A temporary is held
/// without delete sharing until it is closed or, for Replace, moved into place. Output and
/// Append never follow a link at the last component either: a link there, dangling or not, is
/// refused with error 75, so no file is ever created or written where a planted link points.
/// Input reads through links.
///
/// Replace writes a file whole, all or nothing, for every file the suite rewrites whole. The
/// text goes to a temporary file beside the target (made as CreateNew makes a file, under a
/// name nobody can predict); Close flushes it to the disk and moves it over the target in one
/// step, so a reader sees the old file or the new one, never a part. A file destroyed without
/// a successful Close, or a Close that fails, removes the temporary and leaves the target as it
/// was. The target is checked at the open as Output checks it: error 70 when it is read-only or
/// another process holds it exclusively, 75 for a folder, 76 when its folder is missing. The
/// new file keeps the hidden and system attributes of the one it replaces.
///
/// Where the target exists and is writable but the user may not make a file beside it or
/// replace it (a folder locked down by an administrator, a share that grants write but not
/// delete), the target is rewritten in place instead, as Output would, and the file says so
/// (TextFile::WritesInPlace). The text is still held back until Close, so a file destroyed
/// without Close leaves the target as it was; only a Close that fails part-way leaves it cut.
/// A link at the target is refused there with 75, as Output refuses it.
enum class OpenMode { Output, Append, Input, CreateNew, Replace };

/// Output and Append let other processes read and write the file meanwhile; Exclusive refuses
/// the open (error 70) while any other process has the file open, and keeps others out.
enum class ShareMode { DenyNone, Exclusive };

/// An open text file. Closed by its destructor; Close reports a failed flush as an error.
class TextFile {
public:
    virtual ~TextFile() = default;
    /// Writes the bytes as they are, after what was written before.
    virtual void Write(std::string_view bytes) = 0;
    /// The rest of the file from the current position (Input mode).
    virtual std::string ReadAll() = 0;
    /// The same for a reader that keeps the bytes: where the system allows, a large file is read
    /// into memory of its own, faulted in at once, and not copied again.
    virtual FileBytes ReadAllBytes() { return FileBytes(ReadAll()); }
    /// At most count bytes from the current position, fewer only at the file's end (Input
    /// mode): a reader that needs a file's first line reads no further, however large the file.
    virtual std::string ReadAtMost(std::size_t count) = 0;
    /// Closes the file (for Replace, moves it into place); raises a failed flush or move.
    virtual void Close() = 0;
    /// Whether a Replace file rewrites its target in place because its folder lets no file be
    /// made or replaced beside it: a caller that keeps a log tells it there.
    virtual bool WritesInPlace() const { return false; }
};

/// The file service: files and folders on Windows paths, failing with the classic errors.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// First entry matching path (wildcards * and ? allowed in the last component), in the
    /// order a listing gives; nothing when no entry matches or the folder does not exist.
    virtual std::optional<FindEntry> FindFirst(const std::string& path) = 0;
    /// Every entry matching the pattern, "." and ".." included where the folder has them.
    virtual std::vector<FindEntry> FindAll(const std::string& pattern,
                                           FindDetail detail = FindDetail::AttributesAndTimes) = 0;
    /// The same entries in no particular order, for callers that count or look names up: a
    /// large folder need not be sorted. Where listings are unsorted anyway, this is FindAll.
    std::vector<FindEntry> FindAllUnordered(const std::string& pattern, FindDetail detail) {
        std::vector<FindEntry> found;
        VisitUnordered(pattern, detail, [&](const FindEntry& entry) {
            found.push_back(entry);
            return true;
        });
        return found;
    }
    /// Hands those entries to visit as the folder yields them, until visit returns false: a
    /// caller that needs the first few entries of a large folder reads no more of it than those.
    /// Where listings come whole anyway, this walks one of FindAll.
    virtual void VisitUnordered(const std::string& pattern, FindDetail detail,
                                const FindVisitor& visit) {
        for (const FindEntry& entry : FindAll(pattern, detail)) {
            if (!visit(entry)) {
                return;
            }
        }
    }

    /// Hands the entries FindAll gives to visit in its order, until visit returns false: a caller
    /// that needs the first few entries of a large folder in listing order pays for ordering no
    /// more of it than those, where the system allows. Where listings come whole, this walks
    /// one of FindAll.
    virtual void VisitInOrder(const std::string& pattern, FindDetail detail,
                              const FindVisitor& visit) {
        for (const FindEntry& entry : FindAll(pattern, detail)) {
            if (!visit(entry)) {
                return;
            }
        }
    }

    /// The version of the ordinary file a path names (no wildcards), found with one query where
    /// the system allows; nothing for a missing file, a folder, a device, pipe or socket. Where
    /// a listing is all there is, its size and last-write time.
    virtual std::optional<FileVersion> VersionOf(const std::string& path) {
        const std::optional<FindEntry> entry = FindFirst(path);
        if (!entry || entry->isFolder) {
            return std::nullopt;
        }
        return FileVersion{.size = entry->size, .lastWriteTime = entry->lastWriteTime};
    }

    /// Whether a file holds these bytes and no others, opened as Input opens it (with its
    /// errors). Where the system allows, a piece at a time, so a large file takes no memory.
    virtual bool HoldsBytes(const std::string& path, std::string_view bytes) {
        return OpenText(path, OpenMode::Input)->ReadAll() == bytes;
    }

    /// Creates one folder level; error 75 when it exists, 76 when its parent is missing.
    virtual void CreateFolder(const std::string& path) = 0;
    /// Copies a file onto another, replacing it in one step, keeping its last-write time, which
    /// the copy takes once in place (never while it is a temporary). The copy is never read-only,
    /// so a later copy can refresh it. Error 70 when the target is read-only or another process has
    /// it open exclusively; it is then unchanged. Error 75 when the source is not an ordinary file
    /// (a device, pipe or socket).
    virtual void CopyFile(const std::string& from, const std::string& to) = 0;
    /// Renames a file; error 58 when the new name exists (nothing is replaced).
    virtual void MoveFileNoReplace(const std::string& from, const std::string& to) = 0;
    /// Error 70 when the file is read-only, another process has it open exclusively, or a handle
    /// holds it without delete sharing (a temporary in use); 75 for a folder.
    virtual void DeleteFile(const std::string& path) = 0;
    /// Error 53 when Input finds no file, 76 when the folder is missing, 75 for a folder, 70
    /// when Output, Append or Replace meet a read-only file or the sharing mode is refused. Only
    /// ordinary files are opened: a device, pipe or socket is refused at once with 75, never
    /// waited on.
    virtual std::unique_ptr<TextFile> OpenText(const std::string& path, OpenMode mode,
                                               ShareMode share = ShareMode::DenyNone) = 0;
};

} // namespace platform
