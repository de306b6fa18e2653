// Categories: the display rule and equality.
#include "ledgerline/config/model/CCategories.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// Whether a category is shown for a valid and for an invalid entry, by its display setting.
TEST(Category, DisplayRequired) {
    struct Case {
        const char* name;
        std::int32_t display;
        bool whenValid = false;
        bool whenInvalid = false;
    };
    const Case cases[] = {
        {.name = "Project", .display = 0},
        {.name = "Project", .display = 1, .whenInvalid = true},
        {.name = "Project", .display = 2, .whenValid = true, .whenInvalid = true},
        {.name = "Cost", .display = 0, .whenValid = true, .whenInvalid = true},
        {.name = "cost", .display = 0},
        {.name = "Project", .display = 7, .whenValid = true, .whenInvalid = true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " displayed " + std::to_string(c.display));
        CCategory category;
        category.CategoryName = c.name;
        category.DisplayCategory = c.display;
        EXPECT_EQ(category.DisplayRequired(true), c.whenValid);
        EXPECT_EQ(category.DisplayRequired(false), c.whenInvalid);
    }
}

// Two categories are equal only while every setting and every predefined value is.
TEST(Category, EqualOnlyInEverySetting) {
    const std::pair<const char*, std::function<void(CCategory&)>> changes[] = {
        {"CategoryName", [](CCategory& c) { c.CategoryName = "Cost"; }},
        {"DisplayCategory", [](CCategory& c) { c.DisplayCategory = 1; }},
        {"AckDefaultValues", [](CCategory& c) { c.AckDefaultValues = true; }},
        {"AllowBlankValues", [](CCategory& c) { c.AllowBlankValues = true; }},
        {"OnlyPreDefinedValues", [](CCategory& c) { c.OnlyPreDefinedValues = true; }},
        {"MaskUserInput", [](CCategory& c) { c.MaskUserInput = true; }},
        {"Pattern", [](CCategory& c) { c.Pattern = "Any"; }},
        {"PreDefinedValues", [](CCategory& c) { c.PreDefinedValues().NewCPreDefinedValue(); }},
        {"DefaultValue", [](CCategory& c) { c.DefaultValue = 1; }},
    };
    EXPECT_TRUE(CCategory() == CCategory());
    for (const auto& [setting, change] : changes) {
        CCategory changed;
        change(changed);
        EXPECT_FALSE(changed == CCategory()) << setting;
    }
}

} // namespace
