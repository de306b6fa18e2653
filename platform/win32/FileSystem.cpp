// Files and folders through the ANSI file calls of the Windows kernel.
#include "platform/win32/Win32.h"

#include <algorithm>

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

class WindowsTextFile final : public TextFile {
public:
    explicit WindowsTextFile(KernelHandle file) : m_file(std::move(file)) {}

    void Write(std::string_view bytes) override {
        RequireOpen();
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            DWORD written = 0;
            if (WriteFile(m_file.Get(), bytes.data(), chunk, &written, nullptr) == 0) {
                throw LastError();
            }
            bytes.remove_prefix(written);
        }
    }

    std::string ReadAll() override {
        RequireOpen();
        std::string content;
        char buffer[65536];
        for (;;) {
            DWORD got = 0;
            if (ReadFile(m_file.Get(), buffer, sizeof buffer, &got, nullptr) == 0) {
                throw LastError();
            }
            if (got == 0) {
                return content;
            }
            content.append(buffer, got);
        }
    }

    void Close() override {
        RequireOpen();
        if (!m_file.Close()) {
            throw LastError();
        }
    }

private:
    void RequireOpen() const {
        if (!m_file.IsValid()) {
            throw Error(ldgr::kBadFileNameOrNumber);
        }
    }

    KernelHandle m_file;
};

struct OpenRequest {
    DWORD access;
    DWORD disposition;
};

OpenRequest RequestFor(OpenMode mode) {
    switch (mode) {
    case OpenMode::Output:
        return {GENERIC_WRITE, CREATE_ALWAYS};
    // Appending access alone: every write lands at the end, also with other writers.
    case OpenMode::Append:
        return {FILE_APPEND_DATA, OPEN_ALWAYS};
    case OpenMode::Input:
        return {GENERIC_READ, OPEN_EXISTING};
    // CREATE_NEW fails on any existing name, a link included, without following it.
    case OpenMode::CreateNew:
        return {GENERIC_WRITE, CREATE_NEW};
    }
    return {GENERIC_READ, OPEN_EXISTING};
}

DWORD SharingFor(ShareMode share) {
    return share == ShareMode::Exclusive ? 0
                                         : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
}

class WindowsFileSystem final : public FileSystem {
public:
    std::optional<FindEntry> FindFirst(const std::string& path) override {
        const Search search(path);
        if (!search.HasEntry()) {
            return std::nullopt;
        }
        return search.Entry();
    }

    // A Windows directory read brings the times with the attributes: one detail serves both.
    std::vector<FindEntry> FindAll(const std::string& pattern, FindDetail) override {
        std::vector<FindEntry> found;
        Search search(pattern);
        if (!search.HasEntry()) {
            return found;
        }
        do {
            found.push_back(search.Entry());
        } while (search.Next());
        return found;
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

    void CopyFile(const std::string& from, const std::string& to) override {
        if (IsFolder(from)) {
            throw Error(ldgr::kPathFileAccessError);
        }
        if (IsFolder(to)) {
            throw Error(ldgr::kPermissionDenied);
        }
        // The copy is made beside the target and moved over it, so a reader never sees
        // half a file and programs copying at the same moment do not disturb each other.
        const std::string folder = FolderOf(to);
        const std::string temporary =
            (folder.empty() || folder.ends_with('\\') ? folder : folder + "\\") + ".ldgrcopy." +
            std::to_string(GetCurrentProcessId()) + ".tmp";
        if (::CopyFileA(from.c_str(), temporary.c_str(), FALSE) == 0) {
            throw LastError();
        }
        if (MoveFileExA(temporary.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) == 0) {
            const Error error = LastError();
            ::DeleteFileA(temporary.c_str());
            throw error;
        }
    }

    void MoveFileNoReplace(const std::string& from, const std::string& to) override {
        if (MoveFileExA(from.c_str(), to.c_str(), 0) == 0) {
            throw LastError();
        }
    }

    void DeleteFile(const std::string& path) override {
        if (IsFolder(path)) {
            throw Error(ldgr::kPathFileAccessError);
        }
        if (::DeleteFileA(path.c_str()) == 0) {
            throw LastError();
        }
    }

    std::unique_ptr<TextFile> OpenText(const std::string& path, OpenMode mode,
                                       ShareMode share) override {
        if (IsFolder(path)) {
            throw Error(ldgr::kPathFileAccessError);
        }
        const OpenRequest request = RequestFor(mode);
        KernelHandle file(CreateFileA(path.c_str(), request.access, SharingFor(share), nullptr,
                                      request.disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) {
            throw LastError();
        }
        return std::make_unique<WindowsTextFile>(std::move(file));
    }
};

} // namespace

FileSystem& WindowsFileSystem() {
    static class WindowsFileSystem files;
    return files;
}

} // namespace platform::win32
