// Categories: the display rule, and a group's categories replaced by another collection.
#include "config/model/CCategories.h"
#include "config/model/CPrinterGroup.h"

#include <gtest/gtest.h>

namespace {

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

TEST(PrinterGroup, ReplacedCategoriesAreSharedAndNeverNull) {
    CPrinterGroup group;
    auto categories = std::make_shared<CCategories>();
    group.SetCategories(categories);
    categories->NewCCategory();
    EXPECT_EQ(group.Categories().Count(), 1);
    EXPECT_THROW(group.SetCategories(nullptr), ldgr::Error);
    EXPECT_EQ(&group.Categories(), categories.get());
}

} // namespace
