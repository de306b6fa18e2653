// Predefined values: the classes of the codes.
#include "ledgerline/config/model/CPreDefinedValues.h"

#include <gtest/gtest.h>

namespace {

// Each case is named by the description it gives.
TEST(PreDefinedValue, ClassAndDescription) {
    struct Case {
        bool computed = false;
        int code = 0;
        bool system = false;
        bool calculated = false;
        const char* description;
    };
    const Case cases[] = {
        {.computed = true, .code = 12, .system = true, .description = "User Name"},
        {.computed = true, .code = 25, .calculated = true, .description = "Total Pages"},
        {.computed = true, .code = 18, .description = "(unknown)"},
        {.code = 12, .description = "constant"}, // a stale code does not make a constant computed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        CPreDefinedValue value;
        value.Computed = c.computed;
        value.ComputedType = c.code;
        value.ConstantText = "constant";
        EXPECT_EQ(value.IsSystemValue(), c.system);
        EXPECT_EQ(value.IsCalculatedValue(), c.calculated);
        EXPECT_EQ(value.Description(), c.description);
    }
}

} // namespace
