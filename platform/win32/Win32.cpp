// The Win32 build's internals: system error codes as classic errors, and text conversion.
#include "ledgerline/platform/win32/Win32.h"

namespace platform::win32 {

using ldgr::Error;

Error ErrorFromCode(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return Error(ldgr::kFileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        return Error(ldgr::kPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED:
        return Error(ldgr::kPermissionDenied);
    // Another process has the file open or locked: "Permission denied", told apart from
    // missing rights so the service-log probe can see it.
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Error::SharingViolation();
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return Error(ldgr::kFileAlreadyExists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Error(ldgr::kDiskFull);
    case ERROR_TOO_MANY_OPEN_FILES:
        return Error(ldgr::kTooManyFiles);
    case ERROR_HANDLE_EOF:
        return Error(ldgr::kInputPastEndOfFile);
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_HANDLE:
        return Error(ldgr::kBadFileNameOrNumber);
    case ERROR_NOT_READY:
        return Error(ldgr::kDiskNotReady);
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED:
        return Error(ldgr::kDeviceIOError);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return Error(ldgr::kOutOfMemory);
    default:
        return Error(ldgr::kPathFileAccessError);
    }
}

Error LastError() {
    return ErrorFromCode(GetLastError());
}

Error FlushErrorFromCode(DWORD code) {
    const bool full = code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL;
    return Error(full ? ldgr::kDiskFull : ldgr::kDeviceIOError);
}

namespace {

bool IsHeldByAnother(DWORD code) {
    return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION ||
           code == ERROR_LOCK_VIOLATION;
}

} // namespace

DWORD RetryWhileHeld(const std::function<DWORD()>& rename) {
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMilliseconds = 50;
    for (int attempt = 1;; ++attempt) {
        const DWORD code = rename();
        if (code == ERROR_SUCCESS || !IsHeldByAnother(code) || attempt == kAttempts) {
            return code;
        }
        Sleep(kPauseMilliseconds);
    }
}

std::wstring ToWide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length == 0) {
        throw LastError();
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

// Without best-fit mapping a character the code page lacks becomes '?' instead of a look-alike
// ("\u0141" is not "L"), so a converted path never silently names another file. UTF-8 holds
// every character and refuses the flag (a system set to "use Unicode UTF-8 for worldwide
// language support" has it as its ANSI code page).
std::string ToCodePage(const std::wstring& text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length == 0) {
        throw LastError();
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), size, narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

std::string FromWide(const std::wstring& text) {
    return ToCodePage(text, GetACP());
}

std::string ToUtf8(const std::string& text) {
    return ToCodePage(ToWide(text), CP_UTF8);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) {
        return {};
    }
    // "C:\name" keeps the root's backslash.
    return slash == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, slash);
}

} // namespace platform::win32
