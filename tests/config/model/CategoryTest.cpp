// Categories: the display rule, each entry's failure with its message and icon, and the
// category sections of both layouts.
#include "config/model/CCategories.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>
#include <map>

namespace {

using ldgr::testing::kModelFile;
using ldgr::testing::ModelTest;

TEST(Category, DisplayRequired) {
    struct Case {
        const char* name;
        std::int32_t display;
        bool whenValid;
        bool whenInvalid;
    };
    const Case cases[] = {
        {"Project", 0, false, false}, {"Project", 1, false, true}, {"Project", 2, true, true},
        {"Cost", 0, true, true},      {"cost", 0, false, false},   {"Cost", 1, true, true},
        {"Project", 7, true, true},
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

// A category section with two values, each entry replaceable or removable.
std::string CategorySection(const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> entries = {
        {"CategoryName", "Project"},   {"Verification", "2"},
        {"AckDefaultValues", "Yes"},   {"AllowBlankValues", "no"},
        {"OnlyPreDefinedValues", "1"}, {"MaskUserInput", "T"},
        {"Pattern", "###-##"},         {"NumPreDefinedValues", "2"},
        {"PreDefinedValue1", "12"},    {"PreDefinedValue2", "0, Internal"},
        {"DefaultValue", "1"},
    };
    for (const auto& [key, value] : changes) {
        entries[key] = value;
    }
    std::string text = "[GENERAL]\nNumCategories = 1\n[CATEGORY1]\n";
    for (const auto& [key, value] : entries) {
        if (value != "<absent>") {
            text += key + " = " + value + "\n";
        }
    }
    return text;
}

class CategoryRead : public ModelTest {
protected:
    // Reads the single category of the section; the category is left in `category`.
    bool Read(const std::map<std::string, std::string>& changes) {
        world.desktop.boxes.clear();
        const std::int32_t handle = Open(CategorySection(changes));
        categories.RemoveAll();
        const bool read = categories.ReadIniFile(2, kModelFile, handle, "GENERAL", "");
        category = categories.Item(1);
        return read;
    }

    CCategories categories;
    std::shared_ptr<CCategory> category;
};

TEST_F(CategoryRead, AllEntriesOfAGoodSection) {
    ASSERT_TRUE(Read({}));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(category->CategoryName, "Project");
    EXPECT_EQ(category->DisplayCategory, 2);
    EXPECT_TRUE(category->AckDefaultValues);
    EXPECT_FALSE(category->AllowBlankValues);
    EXPECT_TRUE(category->OnlyPreDefinedValues);
    EXPECT_TRUE(category->MaskUserInput);
    EXPECT_EQ(category->Pattern, "###-##");
    EXPECT_EQ(category->PreDefinedValues().Count(), 2);
    EXPECT_EQ(category->PreDefinedValues().Item(2)->ConstantText, "Internal");
    EXPECT_EQ(category->DefaultValue, 1);
}

TEST_F(CategoryRead, EachFailureStopsAtItsEntryWithItsIcon) {
    struct Case {
        const char* key;
        const char* value;
        const char* box; // style and first line
    };
    const Case cases[] = {
        {"CategoryName", "<absent>", "48 Entry [CATEGORY1].CategoryName not found in file:"},
        {"CategoryName", "", "48 Entry [CATEGORY1].CategoryName is blank in file:"},
        {"Verification", "3",
         "48 Entry [CATEGORY1].Verification is not valid in configuration file:"},
        {"Verification", "-1",
         "48 Entry [CATEGORY1].Verification is not valid in configuration file:"},
        // The range is checked before rounding.
        {"Verification", "2.5",
         "48 Entry [CATEGORY1].Verification is not valid in configuration file:"},
        {"DefaultValue", "2.4",
         "16 Entry [CATEGORY1].DefaultValue is not valid in configuration file:"},
        {"Verification", "always",
         "48 Entry [CATEGORY1].Verification is not numeric in configuration file:"},
        {"AckDefaultValues", "maybe",
         "16 Entry [CATEGORY1].AckDefaultValues is not valid in configuration file:"},
        {"AckDefaultValues", "<absent>",
         "48 Entry [CATEGORY1].AckDefaultValues not found in file:"},
        {"AllowBlankValues", "maybe",
         "48 Entry [CATEGORY1].AllowBlankValues is not valid in configuration file:"},
        {"OnlyPreDefinedValues", "2",
         "48 Entry [CATEGORY1].OnlyPreDefinedValues is not valid in configuration file:"},
        {"NumPreDefinedValues", "two",
         "48 Entry [CATEGORY1].NumPreDefinedValues is not numeric in configuration file:"},
        {"PreDefinedValue2", "<absent>",
         "48 Entry [CATEGORY1].PreDefinedValue2 not found in file:"},
        {"DefaultValue", "3",
         "16 Entry [CATEGORY1].DefaultValue is not valid in configuration file:"},
        {"DefaultValue", "-1",
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
}

TEST_F(CategoryRead, ValuesAcceptedAtTheEdges) {
    struct Case {
        const char* key;
        const char* value;
        std::int32_t display;
        std::int32_t defaultValue;
    };
    const Case cases[] = {
        {"Verification", "1.5", 2, 1}, {"Verification", "0", 0, 1}, {"DefaultValue", "1.5", 2, 2},
        {"DefaultValue", "0", 2, 0},   {"DefaultValue", "2", 2, 2}, {"DefaultValue", "0.4", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        EXPECT_TRUE(Read({{c.key, c.value}}));
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(category->DisplayCategory, c.display);
        EXPECT_EQ(category->DefaultValue, c.defaultValue);
    }
}

TEST_F(CategoryRead, DefaultValueWithoutValues) {
    EXPECT_TRUE(Read({{"NumPreDefinedValues", "0"}, {"DefaultValue", "0"}}));
    EXPECT_FALSE(Read({{"NumPreDefinedValues", "0"}, {"DefaultValue", "1"}}));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{
                  "16 Entry [CATEGORY1].DefaultValue is not valid in configuration file:"});
}

TEST_F(CategoryRead, OptionalEntriesReadSilently) {
    struct Case {
        const char* key;
        const char* value;
        bool mask;
        const char* pattern;
    };
    const Case cases[] = {
        {"MaskUserInput", "<absent>", false, "###-##"},
        {"MaskUserInput", "", false, "###-##"},
        {"MaskUserInput", "No", false, "###-##"},
        {"MaskUserInput", "false", false, "###-##"},
        {"MaskUserInput", "yes", true, "###-##"},
        {"MaskUserInput", "1", true, "###-##"},
        {"Pattern", "<absent>", true, "Any"},
        {"Pattern", "", true, "Any"},
        {"Pattern", "any", true, "any"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        EXPECT_TRUE(Read({{c.key, c.value}}));
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(category->MaskUserInput, c.mask);
        EXPECT_EQ(category->Pattern, c.pattern);
    }
}

TEST_F(CategoryRead, FailureKeepsWhatWasReadBefore) {
    EXPECT_FALSE(Read({{"DefaultValue", "9"}}));
    EXPECT_EQ(category->Pattern, "###-##");
    EXPECT_EQ(category->PreDefinedValues().Count(), 2);
    EXPECT_EQ(category->DefaultValue, 0);
}

TEST(Category, EqualsCopiesDeeplyIntoItsOwnCollection) {
    CCategory source;
    source.CategoryName = "Cost";
    source.DisplayCategory = 1;
    source.MaskUserInput = true;
    source.Pattern = "Any";
    source.PreDefinedValues().NewCPreDefinedValue("k")->ConstantText = "A";
    source.DefaultValue = 1;
    CCategory copy;
    CPreDefinedValues& own = copy.PreDefinedValues();

    copy.Equals(source);

    EXPECT_TRUE(copy == source);
    EXPECT_EQ(&copy.PreDefinedValues(), &own);
    copy.PreDefinedValues().Item(1)->ConstantText = "B";
    EXPECT_EQ(source.PreDefinedValues().Item(1)->ConstantText, "A");
    EXPECT_FALSE(copy.PreDefinedValues().Exists("k"));
}

} // namespace
