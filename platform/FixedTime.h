/// @file
/// The fixed local time of LDGR_NOW, which both builds' clocks answer with when it is set, so
/// runs of the two builds can be compared byte for byte.
#pragma once

#include "ledgerline/platform/Clock.h"

#include <optional>
#include <string_view>

namespace platform {

/// "YYYY-MM-DDTHH:MM:SS" naming a real moment; nothing otherwise.
std::optional<LocalTime> ParseFixedTime(std::string_view text);

/// The time LDGR_NOW fixes; nothing when it is unset or malformed (the system clock answers).
std::optional<LocalTime> FixedLocalTime();

} // namespace platform
