// Categories: the display rule.
#include "ledgerline/config/model/CCategories.h"

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

} // namespace
