/// @file
/// Reading one value of the Windows registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

/// The predefined root keys, with the values of their Windows handles.
enum class RootKey : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    CurrentConfig = 0x80000005u,
};

/// The access a key is opened with: KEY_READ (0x20019) or KEY_ALL_ACCESS (0xF003F).
enum class RegistryAccess { Read, AllAccess };

/// The types of registry values, with their Windows numbers.
enum RegistryType : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
    kRegQword = 11,
};

/// How far a read came.
enum class RegistryStatus {
    Ok,           ///< the value was read
    KeyNotOpened, ///< missing key or access refused
    ValueNotRead, ///< missing value, or data larger than the buffer
};

/// One value as a read found it.
struct RegistryValue {
    RegistryStatus status = RegistryStatus::KeyNotOpened; ///< how far the read came
    std::uint32_t type = kRegNone; ///< a RegistryType; kRegNone unless the value was read
    /// The data as the ANSI query returns it: texts in the system code page with their
    /// terminating NUL, numbers least significant byte first.
    std::string data;
};

/// The registry service: one value read at a time.
class Registry {
public:
    virtual ~Registry() = default;
    /// Opens subKey under root with the given access, queries valueName into a buffer of
    /// bufferSize bytes and closes the key again.
    virtual RegistryValue ReadValue(RootKey root, const std::string& subKey,
                                    const std::string& valueName, RegistryAccess access,
                                    std::size_t bufferSize) = 0;
};

} // namespace platform
