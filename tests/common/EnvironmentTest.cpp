// Option values of the environment record: text or false, and which texts count as true.
#include "ledgerline/common/Environment.h"

#include <gtest/gtest.h>

namespace {

using BCommon::OptionValue;

TEST(OptionValue, HoldsTheTextOrFalse) {
    struct Case {
        OptionValue value;
        bool isText = true;
        const char* text;
        bool isTrue = false;
    };
    const auto textOrFalse = OptionValue::TextOrFalse;
    const Case cases[] = {{.value = textOrFalse(""), .isText = false, .text = "False"},
                          {.value = textOrFalse("tRUE"), .text = "tRUE", .isTrue = true},
                          {.value = textOrFalse(" True "), .text = " True ", .isTrue = true},
                          {.value = textOrFalse("-1"), .text = "-1", .isTrue = true},
                          {.value = textOrFalse("1"), .text = "1"},
                          {.value = OptionValue::Text(""), .text = ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.isText ? "text \"" : "false \"") + c.text + "\"");
        EXPECT_EQ(c.value.IsText(), c.isText);
        EXPECT_EQ(c.value.AsText(), c.text);
        EXPECT_EQ(c.value.IsTrue(), c.isTrue);
    }
    EXPECT_NE(OptionValue::False(), OptionValue::Text("False"));
}

} // namespace
