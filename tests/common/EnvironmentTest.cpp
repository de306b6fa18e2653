// Option values of the environment record: text or false, and which texts count as true.
#include "ledgerline/common/Environment.h"

#include <gtest/gtest.h>

namespace {

using BCommon::OptionValue;

TEST(OptionValue, HoldsTheTextOrFalse) {
    struct Case {
        OptionValue value;
        bool isText = false;
        const char* text;
        bool isTrue = false;
    };
    const Case cases[] = {
        {.value = OptionValue::TextOrFalse(""), .text = "False"},
        {.value = OptionValue::TextOrFalse("tRUE"), .isText = true, .text = "tRUE", .isTrue = true},
        {.value = OptionValue::TextOrFalse(" True "),
         .isText = true,
         .text = " True ",
         .isTrue = true},
        {.value = OptionValue::TextOrFalse("-1"), .isText = true, .text = "-1", .isTrue = true},
        {.value = OptionValue::TextOrFalse("1"), .isText = true, .text = "1"},
        {.value = OptionValue::Text(""), .isText = true, .text = ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.isText ? "text \"" : "false \"") + c.text + "\"");
        EXPECT_EQ(c.value.IsText(), c.isText);
        EXPECT_EQ(c.value.AsText(), c.text);
        EXPECT_EQ(c.value.IsTrue(), c.isTrue);
    }
    EXPECT_NE(OptionValue::False(), OptionValue::Text("False"));
}

} // namespace
