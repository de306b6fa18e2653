// The fixed local time of LDGR_NOW.
#include "ledgerline/platform/FixedTime.h"

#include <cstdlib>

namespace platform {
namespace {

// The number written by the digits text[from, from + count); -1 when one is not a digit.
int DigitsAt(std::string_view text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

std::optional<LocalTime> ParseFixedTime(std::string_view text) {
    constexpr std::string_view kShape = "0000-00-00T00:00:00";
    if (text.size() != kShape.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        if (kShape[i] != '0' && text[i] != kShape[i]) {
            return std::nullopt;
        }
    }
    const LocalTime time{DigitsAt(text, 0, 4),  DigitsAt(text, 5, 2),  DigitsAt(text, 8, 2),
                         DigitsAt(text, 11, 2), DigitsAt(text, 14, 2), DigitsAt(text, 17, 2)};
    return time.IsValid() ? std::optional(time) : std::nullopt;
}

std::optional<LocalTime> FixedLocalTime() {
    const char* fixed = std::getenv("LDGR_NOW");
    return fixed == nullptr ? std::nullopt : ParseFixedTime(fixed);
}

} // namespace platform
