// Predefined values: the classes of the codes.
#include "ledgerline/config/model/CPreDefinedValues.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

// Each case: computed and code, then whether a system value, a calculated one, and the
// description.
TEST(PreDefinedValue, ClassAndDescription) {
    const std::tuple<bool, int, bool, bool, const char*> cases[] = {
        {true, 12, true, false, "User Name"},
        {true, 25, false, true, "Total Pages"},
        {true, 18, false, false, "(unknown)"},
        {false, 12, false, false, "constant"}, // a stale code does not make a constant computed
    };
    for (const auto& [computed, code, system, calculated, description] : cases) {
        SCOPED_TRACE(code);
        CPreDefinedValue value;
        value.Computed = computed;
        value.ComputedType = code;
        value.ConstantText = "constant";
        EXPECT_EQ(value.IsSystemValue(), system);
        EXPECT_EQ(value.IsCalculatedValue(), calculated);
        EXPECT_EQ(value.Description(), description);
    }
}

} // namespace
