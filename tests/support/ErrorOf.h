// The classic error number an operation raises, for tests that expect one.
#pragma once

#include "ledgerline/platform/Error.h"

#include <cstdint>

namespace ldgr::test {

// 0 when the operation succeeds.
template <class Operation> std::int32_t ErrorOf(Operation&& operation) {
    try {
        operation();
        return 0;
    } catch (const ldgr::Error& e) {
        return e.Number();
    }
}

} // namespace ldgr::test
