// Who and where the program runs, through the ANSI kernel, security, profile and shell calls.
#include "ledgerline/platform/win32/Win32.h"

#include <shlobj.h>
#include <userenv.h>

namespace platform::win32 {
namespace {

// The text a call wrote into a buffer of bufferSize characters, cut at the first NUL.
std::string TextOf(const std::string& buffer) {
    return buffer.substr(0, buffer.find('\0'));
}

// Frees a shell item list with the task allocator.
struct ItemListTraits {
    using Handle = LPITEMIDLIST;
    static Handle None() { return nullptr; }
    static bool Free(Handle list) {
        CoTaskMemFree(list);
        return true;
    }
};
using ItemList = Owned<ItemListTraits>;

class WindowsSystemInfo final : public SystemInfo {
public:
    std::string SystemFolder(std::size_t bufferSize) override {
        std::string buffer(bufferSize, '\0');
        const UINT length = GetSystemDirectoryA(buffer.data(), static_cast<UINT>(bufferSize));
        return length < bufferSize ? buffer.substr(0, length) : std::string();
    }

    std::optional<OSVersion> Version() override {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        if (GetVersionExA(&info) == 0) {
            return std::nullopt;
        }
        return OSVersion{info.dwMajorVersion, info.dwMinorVersion};
    }

    std::optional<std::string> UserName(std::size_t bufferSize) override {
        std::string buffer(bufferSize, '\0');
        DWORD size = static_cast<DWORD>(bufferSize);
        if (GetUserNameA(buffer.data(), &size) == 0) {
            return std::nullopt;
        }
        return TextOf(buffer);
    }

    std::optional<std::string> ComputerName(std::size_t bufferSize) override {
        std::string buffer(bufferSize, '\0');
        DWORD size = static_cast<DWORD>(bufferSize);
        if (GetComputerNameA(buffer.data(), &size) == 0) {
            return std::nullopt;
        }
        return buffer.substr(0, size);
    }

    std::optional<std::string> UserProfileFolder(std::size_t bufferSize) override {
        KernelHandle token;
        HANDLE received = nullptr;
        if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &received) == 0) {
            return std::nullopt;
        }
        token = KernelHandle(received);
        std::string buffer(bufferSize, '\0');
        DWORD size = static_cast<DWORD>(bufferSize);
        if (GetUserProfileDirectoryA(token.Get(), buffer.data(), &size) == 0) {
            return std::nullopt;
        }
        return TextOf(buffer);
    }

    std::optional<std::string> SpecialFolder(int csidl) override {
        ItemList location;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, location.Receive())) ||
            !location.IsValid()) {
            return std::nullopt;
        }
        std::string buffer(MAX_PATH, '\0');
        if (SHGetPathFromIDListA(location.Get(), buffer.data()) == 0) {
            return std::nullopt;
        }
        return TextOf(buffer);
    }
};

} // namespace

} // namespace platform::win32

namespace platform {

// The build's real system information service.
SystemInfo& RealSystem() {
    static win32::WindowsSystemInfo system;
    return system;
}

} // namespace platform
