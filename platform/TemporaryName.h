// The names of the suite's temporary files, which a sweep recognises them by, and the random
// bits that make them unpredictable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// What the name of a file made beside the one it will replace begins and ends with.
inline constexpr std::string_view kTemporaryFilePrefix = ".ldgrcopy.";
inline constexpr std::string_view kTemporaryFileSuffix = ".tmp";

// 64 bits from the system's random source (the kernel's on the hosted build, the C runtime's
// rand_s on Windows).
std::uint64_t RandomBits();

// The prefix, the 64 random bits as 16 lower-case hexadecimal digits, the suffix: a name
// nobody can predict.
std::string TemporaryFileName(std::uint64_t randomBits);

// Whether a name is one TemporaryFileName makes, letter case included: a user's file of a
// similar name (".ldgrcopy.my notes.tmp", ".LDGRCOPY.0123456789ABCDEF.TMP") is none.
bool IsTemporaryFileName(std::string_view name);

} // namespace platform
