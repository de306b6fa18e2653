// The suite's start-up routine: fills the environment record.
#pragma once

#include <optional>
#include <string>

namespace BCommon {

// Runs the start-up sequence once, first thing in a program. Every failing step is skipped.
// Returns False when the program must end at once (the processor with nothing to display).
bool InitEnvironment();

// "True" or "False" in any letter case, or a number (0 is False); nothing for any other text.
std::optional<bool> ConvertTruthValue(const std::string& sText);

} // namespace BCommon
