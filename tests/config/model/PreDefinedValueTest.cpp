// Predefined values: the classes of the codes, constants, and what each entry reads as.
#include "config/model/CPreDefinedValues.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ldgr::test::kModelFile;
using ldgr::test::kWrittenFile;
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

TEST_F(PreDefinedValueRead, EachEntryReadsAsItsKind) {
    struct Case {
        const char* entry;
        bool read;
        bool computed;
        int code;
        const char* text;
        const char* box;
    };
    // The value starts as a computed code 99 with text "old", to show what a failure keeps.
    const char* const notValid = "48 Entry [CAT].PreDefinedValue1 is not valid";
    const char* const notNumeric = "48 Entry [CAT].PreDefinedValue1 is not numeric";
    const Case cases[] = {
        {"0,Project X", true, false, 0, "Project X", nullptr},
        {"0,   padded text   ", true, false, 0, "padded text", nullptr},
        {"0,", true, false, 0, "", nullptr},
        {"12", true, true, 12, "", nullptr},
        {"1e1", true, true, 10, "", nullptr},
        {"0", false, true, 0, "", notValid},
        {"18", false, true, 18, "", notValid}, // a gap in the codes
        {"32768", false, true, 99, "", notValid},
        {"Project X", false, true, 99, "", notNumeric},
        {"0 ,x", false, true, 99, "", notNumeric},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        world.desktop.boxes.clear();
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
        const std::vector<std::string> boxes = Boxes();
        ASSERT_EQ(boxes.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_TRUE(boxes[0].starts_with(c.box)) << boxes[0];
        }
    }
}

// A constant is written whole, always as "0, " and the text; a read gives back at most 2,047
// characters, so the longest that comes back whole has 2,044.
TEST_F(PreDefinedValueRead, ConstantsAreWrittenWholeAndReadAsFarAsAReadReaches) {
    for (const std::size_t length : {std::size_t{2044}, std::size_t{2045}}) {
        SCOPED_TRACE(length);
        CPreDefinedValue value;
        value.ConstantText = std::string(length, 'c');
        {
            const auto file = world.files.OpenText(kWrittenFile, platform::OpenMode::Output,
                                                   platform::ShareMode::DenyNone);
            ASSERT_TRUE(value.WriteIniFile(*file, "PreDefinedValue1"));
        }
        EXPECT_TRUE(Written().ends_with(" = 0, " + value.ConstantText + "\n"));
        CPreDefinedValue reread;
        ASSERT_TRUE(reread.ReadIniFile(2, kModelFile, Open("[CAT]\n" + Written()), "CAT",
                                       "PreDefinedValue1"));
        EXPECT_EQ(reread.ConstantText, std::string(2044, 'c'));
    }
}

TEST_F(PreDefinedValueRead, MissingOrBlankEntryStopsTheCollection) {
    const std::int32_t handle = Open("[CAT]\nNumPreDefinedValues = 3\nPreDefinedValue1 = 11\n"
                                     "PreDefinedValue2 =\nPreDefinedValue3 = 12\n");
    CPreDefinedValues values;
    EXPECT_FALSE(values.ReadIniFile(2, kModelFile, handle, "CAT"));
    EXPECT_EQ(values.Count(), 2); // the failing value stays
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"48 Entry [CAT].PreDefinedValue2 is blank in file:"});
}

} // namespace
