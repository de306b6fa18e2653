// The names of the suite's temporary files, and the random bits that make them unpredictable.
#include "platform/TemporaryName.h"

#include <random>

namespace platform {

std::uint64_t RandomBits() {
    std::random_device source;
    return (std::uint64_t{source()} << 32) | source();
}

std::string TemporaryFileName(std::uint64_t randomBits) {
    std::string digits(16, '0');
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        *digit = "0123456789abcdef"[randomBits & 15];
        randomBits >>= 4;
    }
    return std::string(kTemporaryFilePrefix) + digits + std::string(kTemporaryFileSuffix);
}

} // namespace platform
