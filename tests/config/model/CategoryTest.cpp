// Categories: the display rule.
#include "ledgerline/config/model/CCategories.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

// Each case: name and display setting, then whether shown for a valid and an invalid entry.
TEST(Category, DisplayRequired) {
    const std::tuple<const char*, std::int32_t, bool, bool> cases[] = {
        {"Project", 0, false, false}, {"Project", 1, false, true}, {"Project", 2, true, true},
        {"Cost", 0, true, true},      {"cost", 0, false, false},   {"Project", 7, true, true},
    };
    for (const auto& [name, display, whenValid, whenInvalid] : cases) {
        SCOPED_TRACE(std::string(name) + " " + std::to_string(display));
        CCategory category;
        category.CategoryName = name;
        category.DisplayCategory = display;
        EXPECT_EQ(category.DisplayRequired(true), whenValid);
        EXPECT_EQ(category.DisplayRequired(false), whenInvalid);
    }
}

} // namespace
