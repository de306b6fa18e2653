// The tolerant style of error handling: a failing step is skipped and the caller goes on.
#pragma once

#include "platform/Error.h"

namespace BCommon {

// Runs one step; an error inside it is swallowed. Returns whether the step completed.
template <class Step> bool SkipFailingStep(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace BCommon
