// The names of the suite's temporary files, and the random bits that make them unpredictable.
#include "platform/TemporaryName.h"

#include <random>

namespace platform {

std::uint64_t RandomBits() {
    std::random_device source;
    return (std::uint64_t{source()} << 32) | source();
}

namespace {

constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr std::size_t kRandomDigits = 16;

} // namespace

std::string TemporaryFileName(std::uint64_t randomBits) {
    std::string digits(kRandomDigits, '0');
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        *digit = kHexDigits[randomBits & 15];
        randomBits >>= 4;
    }
    return std::string(kTemporaryFilePrefix) + digits + std::string(kTemporaryFileSuffix);
}

bool IsTemporaryFileName(std::string_view name) {
    if (name.size() != kTemporaryFilePrefix.size() + kRandomDigits + kTemporaryFileSuffix.size() ||
        !name.starts_with(kTemporaryFilePrefix) || !name.ends_with(kTemporaryFileSuffix)) {
        return false;
    }
    return name.substr(kTemporaryFilePrefix.size(), kRandomDigits).find_first_not_of(kHexDigits) ==
           std::string_view::npos;
}

} // namespace platform
