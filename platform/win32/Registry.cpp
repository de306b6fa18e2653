// Reading one registry value through the ANSI registry calls.
#include "ledgerline/platform/win32/Win32.h"

namespace platform::win32 {
namespace {

HKEY HandleOf(RootKey root) {
    switch (root) {
    case RootKey::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser:
        return HKEY_CURRENT_USER;
    case RootKey::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RootKey::Users:
        return HKEY_USERS;
    case RootKey::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    }
    return HKEY_LOCAL_MACHINE;
}

// Every key in the 32-bit view, where the suite's 32-bit programs and setup write: the shipped
// 32-bit program reads it anyway on 64-bit Windows, and a 64-bit build reads the same.
REGSAM RightsOf(RegistryAccess access) {
    return (access == RegistryAccess::AllAccess ? KEY_ALL_ACCESS : KEY_READ) | KEY_WOW64_32KEY;
}

class WindowsRegistry final : public Registry {
public:
    RegistryValue ReadValue(RootKey root, const std::string& subKey, const std::string& valueName,
                            RegistryAccess access, std::size_t bufferSize) override {
        RegistryValue value;
        RegistryKey key;
        if (RegOpenKeyExA(HandleOf(root), subKey.c_str(), 0, RightsOf(access), key.Receive()) !=
            ERROR_SUCCESS) {
            return value;
        }
        value.status = RegistryStatus::ValueNotRead;
        std::string buffer(bufferSize, '\0');
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(bufferSize);
        if (RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
            return value;
        }
        value.status = RegistryStatus::Ok;
        value.type = type;
        value.data = buffer.substr(0, std::min<std::size_t>(size, bufferSize));
        return value;
    }
};

} // namespace

} // namespace platform::win32

namespace platform {

// The build's real registry service.
Registry& RealRegistry() {
    static win32::WindowsRegistry registry;
    return registry;
}

} // namespace platform
