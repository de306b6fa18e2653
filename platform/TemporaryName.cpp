// The name both builds give the suite's temporary files.
#include "platform/TemporaryName.h"

namespace platform {

std::string TemporaryFileName(std::uint64_t randomBits) {
    std::string digits(16, '0');
    for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit) {
        *digit = "0123456789abcdef"[randomBits & 15];
        randomBits >>= 4;
    }
    return ".ldgrcopy." + digits + ".tmp";
}

} // namespace platform
