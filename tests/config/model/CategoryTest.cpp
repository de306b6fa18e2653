// Categories: the display rule, each entry's failure with its message and icon, valid values.
#include "config/model/CCategories.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>
#include <map>

namespace {

using ldgr::test::kModelFile;
using ldgr::test::ModelTest;

TEST(Category, DisplayRequired) {
    struct Case {
        const char* name;
        std::int32_t display;
        bool whenValid;
        bool whenInvalid;
    };
    const Case cases[] = {
        {"Project", 0, false, false}, {"Project", 1, false, true}, {"Project", 2, true, true},
        {"Cost", 0, true, true},      {"cost", 0, false, false},   {"Project", 7, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.display));
        CCategory category;
        category.CategoryName = c.name;
        category.DisplayCategory = c.display;
        EXPECT_EQ(category.DisplayRequired(true), c.whenValid);
        EXPECT_EQ(category.DisplayRequired(false), c.whenInvalid);
    }
}

class CategoryRead : public ModelTest {
protected:
    // Reads a section with one category of two values, its entries changed as given ("<absent>"
    // removes one); the category is left in `category`.
    bool Read(const std::map<std::string, std::string>& changes) {
        std::map<std::string, std::string> entries = {
            {"CategoryName", "Project"},   {"Verification", "2"},
            {"AckDefaultValues", "Yes"},   {"AllowBlankValues", "no"},
            {"OnlyPreDefinedValues", "1"}, {"MaskUserInput", "T"},
            {"Pattern", "###-##"},         {"NumPreDefinedValues", "2"},
            {"PreDefinedValue1", "12"},    {"PreDefinedValue2", "0, Internal"},
            {"DefaultValue", "1"},
        };
        std::string text = "[GENERAL]\nNumCategories = 1\n[CATEGORY1]\n";
        for (const auto& [key, value] : changes) {
            entries[key] = value;
        }
        for (const auto& [key, value] : entries) {
            text += value == "<absent>" ? "" : key + " = " + value + "\n";
        }
        world.desktop.boxes.clear();
        categories.RemoveAll();
        const bool read = categories.ReadIniFile(2, kModelFile, Open(text), "GENERAL", "");
        category = categories.Item(1);
        return read;
    }

    CCategories categories;
    std::shared_ptr<CCategory> category;
};

TEST_F(CategoryRead, EachFailureStopsAtItsEntryWithItsIcon) {
    struct Case {
        const char* key;
        const char* value;
        const char* box; // style and first line
    };
    const Case cases[] = {
        {"CategoryName", "<absent>", "48 Entry [CATEGORY1].CategoryName not found in file:"},
        {"Verification", "3",
         "48 Entry [CATEGORY1].Verification is not valid in configuration file:"},
        {"AckDefaultValues", "maybe",
         "16 Entry [CATEGORY1].AckDefaultValues is not valid in configuration file:"},
        {"AckDefaultValues", "<absent>",
         "48 Entry [CATEGORY1].AckDefaultValues not found in file:"},
        {"AllowBlankValues", "maybe",
         "48 Entry [CATEGORY1].AllowBlankValues is not valid in configuration file:"},
        {"OnlyPreDefinedValues", "2",
         "48 Entry [CATEGORY1].OnlyPreDefinedValues is not valid in configuration file:"},
        {"DefaultValue", "3",
         "16 Entry [CATEGORY1].DefaultValue is not valid in configuration file:"},
        {"DefaultValue", "first",
         "16 Entry [CATEGORY1].DefaultValue is not numeric in configuration file:"},
        {"DefaultValue", "", "48 Entry [CATEGORY1].DefaultValue is blank in file:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        EXPECT_FALSE(Read({{c.key, c.value}}));
        EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(categories.Count(), 1); // the failing category stays
    }
    // What was read before the failure is kept.
    EXPECT_FALSE(Read({{"DefaultValue", "9"}}));
    EXPECT_EQ(category->Pattern, "###-##");
    EXPECT_EQ(category->PreDefinedValues().Count(), 2);
    EXPECT_EQ(category->DefaultValue, 0);
}

TEST_F(CategoryRead, ValuesAccepted) {
    struct Case {
        std::map<std::string, std::string> changes;
        std::int32_t display;
        std::int32_t defaultValue;
        bool mask;
        const char* pattern;
    };
    const Case cases[] = {
        {{}, 2, 1, true, "###-##"},
        {{{"Verification", "0"}}, 0, 1, true, "###-##"},
        {{{"DefaultValue", "2"}}, 2, 2, true, "###-##"},
        {{{"NumPreDefinedValues", "0"}, {"DefaultValue", "0"}}, 2, 0, true, "###-##"},
        {{{"MaskUserInput", "<absent>"}, {"Pattern", "<absent>"}}, 2, 1, false, "Any"},
        {{{"MaskUserInput", ""}, {"Pattern", ""}}, 2, 1, false, "Any"},
        {{{"MaskUserInput", "yes"}, {"Pattern", "any"}}, 2, 1, true, "any"},
        {{{"MaskUserInput", "No"}}, 2, 1, false, "###-##"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.changes));
        EXPECT_TRUE(Read(c.changes));
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(category->DisplayCategory, c.display);
        EXPECT_EQ(category->DefaultValue, c.defaultValue);
        EXPECT_EQ(category->MaskUserInput, c.mask);
        EXPECT_EQ(category->Pattern, c.pattern);
    }
    EXPECT_TRUE(category->AckDefaultValues);
    EXPECT_FALSE(category->AllowBlankValues);
    EXPECT_TRUE(category->OnlyPreDefinedValues);
    EXPECT_EQ(category->PreDefinedValues().Item(2)->ConstantText, "Internal");
}

} // namespace
