/// @file
/// The names of the suite's temporary files, which a sweep recognises them by, and the random
/// bits that make them unpredictable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

/// What a temporary's name is made of: a prefix, a random part of kRandomCharacters characters
/// of an alphabet, a suffix.
struct TemporaryNameShape {
    std::string_view prefix;   ///< what the name begins with
    std::string_view alphabet; ///< the digits of the random part, from the digit for 0 up
    std::string_view suffix;   ///< what the name ends with
};
/// The length of a temporary name's random part.
inline constexpr std::size_t kRandomCharacters = 16;

/// The name of a file made beside the one it will replace: 16 lower-case hexadecimal digits, all
/// 64 random bits.
inline constexpr TemporaryNameShape kCopyShape{".ldgrcopy.", "0123456789abcdef", ".tmp"};

/// 64 bits from the system's random source (the kernel's on the hosted build, the C runtime's
/// rand_s on Windows).
std::uint64_t RandomBits();

/// A name of that shape, its random part the random bits written in the alphabet's digits (the
/// last 16 of them): a name nobody can predict.
std::string TemporaryName(const TemporaryNameShape& shape, std::uint64_t randomBits);

/// Whether a name has that shape exactly, letter case included: a user's file of a similar name
/// (".ldgrcopy.my notes.tmp", ".LDGRCOPY.0123456789ABCDEF.TMP", "~job1.tmp") is none.
bool HasTemporaryShape(std::string_view name, const TemporaryNameShape& shape);

} // namespace platform
