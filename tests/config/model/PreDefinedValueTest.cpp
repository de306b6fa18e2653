// Predefined values: the code table and its classes, constants, and what each entry reads as.
#include "config/model/CPreDefinedValues.h"
#include "config/model/ModelTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using ldgr::testing::kModelFile;
using ldgr::testing::kWrittenFile;
using ldgr::testing::ModelTest;

TEST(PreDefinedValue, EveryCodeIsInExactlyOneClassAndNothingElseIs) {
    const std::vector<int> calculated = {1,  2,  25, 34, 35, 36, 37, 81, 82,
                                         83, 84, 85, 86, 87, 88, 89, 90};
    const std::vector<int> system = {10, 11, 12, 13, 14, 15, 16, 17, 20, 21, 22,
                                     23, 24, 31, 32, 33, 38, 39, 40, 41, 42, 43};
    for (int code = -1; code <= 100; ++code) {
        SCOPED_TRACE(code);
        CPreDefinedValue value;
        value.Computed = true;
        value.ComputedType = code;
        const bool isCalculated = std::ranges::count(calculated, code) == 1;
        const bool isSystem = std::ranges::count(system, code) == 1;
        EXPECT_EQ(value.IsCalculatedValue(), isCalculated);
        EXPECT_EQ(value.IsSystemValue(), isSystem);
        EXPECT_EQ(value.Description() == "(unknown)", !isCalculated && !isSystem);
    }
}

TEST(PreDefinedValue, ConstantIsNeitherClassAndDescribesItself) {
    CPreDefinedValue value;
    value.ConstantText = "12";
    value.ComputedType = 12; // a stale code does not make a constant computed
    EXPECT_FALSE(value.IsSystemValue());
    EXPECT_FALSE(value.IsCalculatedValue());
    EXPECT_EQ(value.Description(), "12");
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
    const Case cases[] = {
        {"0, Project X", true, false, 0, "Project X", nullptr},
        {"0,Project X", true, false, 0, "Project X", nullptr},
        {"0,   padded text   ", true, false, 0, "padded text", nullptr},
        {"0,", true, false, 0, "", nullptr},
        {"12", true, true, 12, "", nullptr},
        {"25", true, true, 25, "", nullptr},
        {"2.5", true, true, 2, "", nullptr},
        {"1e1", true, true, 10, "", nullptr},
        {"0", false, true, 0, "", "48 Entry [CAT].PreDefinedValue1 is not valid"},
        {"3", false, true, 3, "", "48 Entry [CAT].PreDefinedValue1 is not valid"},
        {"18", false, true, 18, "", "48 Entry [CAT].PreDefinedValue1 is not valid"},
        {"44", false, true, 44, "", "48 Entry [CAT].PreDefinedValue1 is not valid"},
        {"91", false, true, 91, "", "48 Entry [CAT].PreDefinedValue1 is not valid"},
        {"32768", false, true, 99, "", "48 Entry [CAT].PreDefinedValue1 is not valid"},
        {"-1", false, true, 99, "", "48 Entry [CAT].PreDefinedValue1 is not valid"},
        {"Project X", false, true, 99, "", "48 Entry [CAT].PreDefinedValue1 is not numeric"},
        {"0 ,x", false, true, 99, "", "48 Entry [CAT].PreDefinedValue1 is not numeric"},
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

// A read gives back at most 2,047 characters, so a file holds constants of up to 2,045; each
// must come back whole, even where "0, " and the text would not fit.
TEST_F(PreDefinedValueRead, LongestConstantsSurviveAWriteAndARead) {
    for (const std::size_t length : {std::size_t{2044}, std::size_t{2045}}) {
        SCOPED_TRACE(length);
        CPreDefinedValue value;
        value.ConstantText = std::string(length, 'c');
        {
            const auto file = world.files.OpenText(kWrittenFile, platform::OpenMode::Output,
                                                   platform::ShareMode::DenyNone);
            ASSERT_TRUE(value.WriteIniFile(*file, "PreDefinedValue1"));
        }
        const std::string written = Written();
        EXPECT_LE(written.size() - written.find("= ") - 3, 2047u);
        const std::int32_t handle = Open("[CAT]\n" + written);
        CPreDefinedValue reread;
        ASSERT_TRUE(reread.ReadIniFile(2, kModelFile, handle, "CAT", "PreDefinedValue1"));
        EXPECT_EQ(reread.ConstantText, value.ConstantText);
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

TEST_F(PreDefinedValueRead, CountEntryIsChecked) {
    const std::pair<const char*, const char*> cases[] = {
        {"NumPreDefinedValues = 0", nullptr},
        {"NumPreDefinedValues = 32768", "48 Entry [CAT].NumPreDefinedValues is not valid"},
        {"NumPreDefinedValues = many", "48 Entry [CAT].NumPreDefinedValues is not numeric"},
        {"", "48 Entry [CAT].NumPreDefinedValues not found in file:"},
    };
    for (const auto& [entry, box] : cases) {
        SCOPED_TRACE(entry);
        world.desktop.boxes.clear();
        const std::int32_t handle = Open(std::string("[CAT]\n") + entry + "\n");
        CPreDefinedValues values;
        EXPECT_EQ(values.ReadIniFile(2, kModelFile, handle, "CAT"), box == nullptr);
        EXPECT_EQ(values.Count(), 0);
        ASSERT_EQ(Boxes().size(), box ? 1u : 0u);
        if (box) {
            EXPECT_TRUE(Boxes()[0].starts_with(box)) << Boxes()[0];
        }
    }
}

} // namespace
