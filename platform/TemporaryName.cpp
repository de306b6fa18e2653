// The names of the suite's temporary files, and the random bits that make them unpredictable.
#include "ledgerline/platform/TemporaryName.h"

#include <random>

namespace platform {

std::uint64_t RandomBits() {
    std::random_device source;
    return (std::uint64_t{source()} << 32) | source();
}

std::string TemporaryName(const TemporaryNameShape& shape, std::uint64_t randomBits) {
    std::string random(kRandomCharacters, shape.alphabet.front());
    for (auto character = random.rbegin(); character != random.rend(); ++character) {
        *character = shape.alphabet[randomBits % shape.alphabet.size()];
        randomBits /= shape.alphabet.size();
    }
    return std::string(shape.prefix) + random + std::string(shape.suffix);
}

bool HasTemporaryShape(std::string_view name, const TemporaryNameShape& shape) {
    return name.size() == shape.prefix.size() + kRandomCharacters + shape.suffix.size() &&
           name.starts_with(shape.prefix) && name.ends_with(shape.suffix) &&
           name.substr(shape.prefix.size(), kRandomCharacters).find_first_not_of(shape.alphabet) ==
               std::string_view::npos;
}

} // namespace platform
