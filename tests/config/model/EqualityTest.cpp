// Equality of categories and printer groups: equal only while every setting is.
#include "ledgerline/config/model/CPrinterGroup.h"

#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace {

template <class T>
using Changes = std::initializer_list<std::pair<const char*, std::function<void(T&)>>>;

// Two fresh objects are equal; one with any single setting changed differs from a fresh one.
template <class T> void ExpectEqualOnlyInEverySetting(Changes<T> changes) {
    EXPECT_TRUE(T() == T());
    for (const auto& [setting, change] : changes) {
        T changed;
        change(changed);
        EXPECT_FALSE(changed == T()) << setting;
    }
}

TEST(Equality, CategoryInEverySettingAndPredefinedValue) {
    ExpectEqualOnlyInEverySetting<CCategory>({
        {"CategoryName", [](CCategory& c) { c.CategoryName = "Cost"; }},
        {"DisplayCategory", [](CCategory& c) { c.DisplayCategory = 1; }},
        {"AckDefaultValues", [](CCategory& c) { c.AckDefaultValues = true; }},
        {"AllowBlankValues", [](CCategory& c) { c.AllowBlankValues = true; }},
        {"OnlyPreDefinedValues", [](CCategory& c) { c.OnlyPreDefinedValues = true; }},
        {"MaskUserInput", [](CCategory& c) { c.MaskUserInput = true; }},
        {"Pattern", [](CCategory& c) { c.Pattern = "Any"; }},
        {"PreDefinedValues", [](CCategory& c) { c.PreDefinedValues().NewCPreDefinedValue(); }},
        {"DefaultValue", [](CCategory& c) { c.DefaultValue = 1; }},
    });
}

TEST(Equality, PrinterGroupInEverySettingAndCategory) {
    ExpectEqualOnlyInEverySetting<CPrinterGroup>({
        {"GroupName", [](CPrinterGroup& g) { g.GroupName = "Accounting"; }},
        {"DisableLogging", [](CPrinterGroup& g) { g.DisableLogging = true; }},
        {"LogSilent", [](CPrinterGroup& g) { g.LogSilent = true; }},
        {"PauseUntilAck", [](CPrinterGroup& g) { g.PauseUntilAck = true; }},
        {"Redirect", [](CPrinterGroup& g) { g.Redirect = "10.0.0.7"; }},
        {"Categories", [](CPrinterGroup& g) { g.Categories().NewCCategory(); }},
    });
}

} // namespace
