/// @file
/// The program's two styles of error handling: a tolerant procedure skips a failing step and
/// goes on; a reporting procedure runs its whole body in one trap that reports a failure under
/// the procedure's name and returns the procedure's fallback.
#pragma once

#include "ledgerline/common/Diagnostics.h"
#include "ledgerline/platform/Error.h"

#include <string>
#include <string_view>

namespace BCommon {

/// Runs one step; an error inside it is swallowed. Returns whether the step completed. The
/// system running out of memory, file handles or room for a write is let through: a tolerant
/// caller would take the skipped step for an answer ("no read access", "no such file"), so it
/// goes on to the nearest reporting procedure or the program's entry, which tell the user.
template <class Step> bool SkipFailingStep(Step&& step) {
    try {
        step();
        return true;
    } catch (...) {
        if (ldgr::IsResourceLimitCurrent()) {
            throw;
        }
        return false;
    }
}

/// Runs a step whose outcome nobody reads (a line of the debug log, a release on the way out);
/// every error inside it is swallowed, running out of a resource too.
template <class Step> void IgnoreFailures(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
        // Nothing depends on the step: it is simply lost.
    }
}

/// Runs a reporting procedure's body. A failure is reported under sProcedure (a module
/// procedure's name, or "Class::Method") while it is current, and a copy of fallback is
/// returned. Nothing is copied or made while the body succeeds: start-up runs some of these
/// procedures thousands of times.
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
