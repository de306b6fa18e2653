// The Win32 build's internals shared by its implementation files: the services, the
// owners of system handles, text conversion and the mapping of system error codes.
#pragma once

#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Platform.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// The platform interface has methods of these names; this code calls the ANSI functions by
// their own names.
#undef CopyFile
#undef DeleteFile

#include <functional>
#include <string>
#include <utility>

namespace platform::win32 {

// Owns one system resource and releases it with Close exactly once. Traits name the
// handle type, the value meaning "none" and the release call.
template <class Traits> class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : m_handle(handle) {}
    ~Owned() { Close(); }
    Owned(Owned&& other) noexcept : m_handle(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Close();
            m_handle = other.Release();
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return m_handle; }
    // The address to receive a handle from a call that returns it through a pointer.
    Handle* Receive() {
        Close();
        return &m_handle;
    }
    bool IsValid() const { return m_handle != Traits::None(); }
    Handle Release() { return std::exchange(m_handle, Traits::None()); }
    // Releases the resource; true when there was none or the release succeeded.
    bool Close() {
        if (!IsValid()) {
            return true;
        }
        return Traits::Free(Release());
    }

private:
    Handle m_handle = Traits::None();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool Free(Handle handle) { return CloseHandle(handle) != 0; }
};
// A kernel object: file, token. Invalid is INVALID_HANDLE_VALUE; store a call's null
// failure value as INVALID_HANDLE_VALUE.
using KernelHandle = Owned<KernelHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool Free(Handle handle) { return FindClose(handle) != 0; }
};
using FindHandle = Owned<FindHandleTraits>;

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static bool Free(Handle key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};
using RegistryKey = Owned<RegistryKeyTraits>;

// The classic error for a system error code.
ldgr::Error ErrorFromCode(DWORD code);
// The classic error for the calling thread's last system error.
ldgr::Error LastError();
// The classic error for a failed flush of written data: 61 when the disk is full, else 57
// (device I/O error), as the data did not arrive whatever the system's reason.
ldgr::Error FlushErrorFromCode(DWORD code);

// Runs a rename (any call answering with a system error code) until it succeeds, fails for a
// reason other than another program holding the file (access denied, a sharing or lock
// violation), or was tried 20 times, 50 ms apart; its last answer.
DWORD RetryWhileHeld(const std::function<DWORD()>& rename);

// UTF-16 text of system code page text, for the calls that only take UTF-16.
std::wstring ToWide(const std::string& text);
// Text in a code page of UTF-16 text; a character the code page lacks becomes '?'.
std::string ToCodePage(const std::wstring& text, UINT codePage);
// System code page text of UTF-16 text.
std::string FromWide(const std::wstring& text);
// ANSI text as UTF-8, through the system's conversion of the ANSI code page.
std::string ToUtf8(const std::string& text);

// The folder part of a path, without its trailing backslash except for a drive root.
std::string FolderOf(const std::string& path);

} // namespace platform::win32
