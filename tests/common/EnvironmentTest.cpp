// Option values of the environment record: text or false, and which texts count as true.
#include "ledgerline/common/Environment.h"

#include <gtest/gtest.h>

namespace {

using BCommon::OptionValue;

TEST(OptionValue, HoldsTheTextOrFalse) {
    // The value, whether it holds text, its text, and whether it is true.
    const std::tuple<OptionValue, bool, const char*, bool> cases[] = {
        {OptionValue::TextOrFalse(""), false, "False", false},
        {OptionValue::TextOrFalse("tRUE"), true, "tRUE", true},
        {OptionValue::TextOrFalse(" True "), true, " True ", true},
        {OptionValue::TextOrFalse("-1"), true, "-1", true},
        {OptionValue::TextOrFalse("1"), true, "1", false},
        {OptionValue::Text(""), true, "", false}};
    for (const auto& [value, isText, text, isTrue] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(value.IsText(), isText);
        EXPECT_EQ(value.AsText(), text);
        EXPECT_EQ(value.IsTrue(), isTrue);
    }
    EXPECT_NE(OptionValue::False(), OptionValue::Text("False"));
}

} // namespace
