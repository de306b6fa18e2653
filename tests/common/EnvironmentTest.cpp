// Option values of the environment record: text or false, and which texts count as true.
#include "common/Environment.h"

#include <gtest/gtest.h>

namespace {

using BCommon::OptionValue;

TEST(OptionValue, HoldsTheTextOrFalse) {
    struct Case {
        OptionValue value;
        bool isText;
        const char* text;
        bool isTrue;
    };
    const Case cases[] = {{OptionValue::TextOrFalse(""), false, "False", false},
                          {OptionValue::TextOrFalse("Yes"), true, "Yes", false},
                          {OptionValue::TextOrFalse("tRUE"), true, "tRUE", true},
                          {OptionValue::TextOrFalse(" True "), true, " True ", true},
                          {OptionValue::TextOrFalse("-1"), true, "-1", true},
                          {OptionValue::TextOrFalse("1"), true, "1", false},
                          {OptionValue::Text(""), true, "", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value.IsText(), c.isText);
        EXPECT_EQ(c.value.AsText(), c.text);
        EXPECT_EQ(c.value.IsTrue(), c.isTrue);
    }
    EXPECT_NE(OptionValue::False(), OptionValue::Text("False"));
}

} // namespace
