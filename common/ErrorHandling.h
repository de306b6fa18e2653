// The program's two styles of error handling: a tolerant procedure skips a failing step and
// goes on; a reporting procedure runs its whole body in one trap that reports a failure under
// the procedure's name and returns the procedure's fallback.
#pragma once

#include "common/Diagnostics.h"
#include "platform/Error.h"

#include <string>
#include <string_view>

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

// Runs a reporting procedure's body. A failure is reported under sProcedure (a module
// procedure's name, or "Class::Method") while it is current, and a copy of fallback is
// returned. Nothing is copied or made while the body succeeds: start-up runs some of these
// procedures thousands of times.
template <class Body, class Result>
Result ReportingFailures(std::string_view sProcedure, const Result& fallback, Body&& body) {
    try {
        return body();
    } catch (...) {
        ReportError(std::string(sProcedure));
        return fallback;
    }
}

} // namespace BCommon
