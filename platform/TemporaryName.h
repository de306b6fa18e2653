// The name both builds give the suite's temporary files, which a sweep recognises by it.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// ".ldgrcopy.", the 64 random bits as 16 hexadecimal digits, ".tmp": a name nobody can predict
// for a file made beside the one it will replace.
std::string TemporaryFileName(std::uint64_t randomBits);

} // namespace platform
