// Predefined values: the classes of the codes, and what a read replaces.
#include "config/model/CPreDefinedValues.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ldgr::test::kModelFile;
using ldgr::test::ModelTest;

TEST(PreDefinedValue, ClassAndDescription) {
    struct Case {
        bool computed;
        int code;
        bool system;
        bool calculated;
        const char* description;
    };
    const Case cases[] = {
        {true, 12, true, false, "User Name"},
        {true, 25, false, true, "Total Pages"},
        {true, 18, false, false, "(unknown)"},
        {false, 12, false, false, "constant"}, // a stale code does not make a constant computed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CPreDefinedValue value;
        value.Computed = c.computed;
        value.ComputedType = c.code;
        value.ConstantText = "constant";
        EXPECT_EQ(value.IsSystemValue(), c.system);
        EXPECT_EQ(value.IsCalculatedValue(), c.calculated);
        EXPECT_EQ(value.Description(), c.description);
    }
}

class PreDefinedValueRead : public ModelTest {};

// A read replaces what the value held as far as it got: the value starts as a computed code 99
// with text "old".
TEST_F(PreDefinedValueRead, EachEntryReplacesWhatItReached) {
    struct Case {
        const char* entry;
        bool read;
        bool computed;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {"0,Project X", true, false, 0, "Project X"},
        {"12", true, true, 12, ""},
        {"18", false, true, 18, ""}, // a gap in the codes
        {"Project X", false, true, 99, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        const std::int32_t handle =
            Open(std::string("[CAT]\nPreDefinedValue1 = ") + c.entry + "\n");
        CPreDefinedValue value;
        value.Computed = true;
        value.ComputedType = 99;
        value.ConstantText = "old";
        EXPECT_EQ(value.ReadIniFile(2, kModelFile, handle, "CAT", "PreDefinedValue1"), c.read);
        EXPECT_EQ(value.Computed, c.computed);
        EXPECT_EQ(value.ComputedType, c.code);
        EXPECT_EQ(value.ConstantText, c.text);
    }
}

} // namespace
