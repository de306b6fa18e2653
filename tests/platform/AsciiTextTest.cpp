// Text helpers with the runtime's rules: letter case of the ASCII letters only, Trim of blanks.
#include "ledgerline/platform/AsciiText.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace ldgr::ascii;

TEST(Text, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(Upper("ldgr\xe9-1_z"), "LDGR\xe9-1_Z");
    EXPECT_EQ(Lower("LDGR\xc9-1_Z"), "ldgr\xc9-1_z");
    EXPECT_EQ(Upper(std::string_view("a\0b", 3)), std::string("A\0B", 3));
}

TEST(Text, ComparisonsIgnoringCase) {
    // Two texts: equal, the second inside the first, the first starting with the second.
    const std::tuple<const char*, const char*, bool, bool, bool> cases[] = {
        {"Machines", "MACHINES", true, true, true},
        {"Machines", "mach", false, true, true},
        {"Machines", "chin", false, true, false},
        {"abc", "", false, true, true},
        {"", "", true, false, true}, // as InStr: an empty text holds nothing
        {"ab", "abc", false, false, false},
        {"[", "{", false, false, false}, // never folded into each other
    };
    for (const auto& [text, other, equals, contains, startsWith] : cases) {
        SCOPED_TRACE(std::string(text) + " / " + other);
        EXPECT_EQ(EqualsIgnoreCase(text, other), equals);
        EXPECT_EQ(ContainsIgnoreCase(text, other), contains);
        EXPECT_EQ(StartsWithIgnoreCase(text, other), startsWith);
    }
}

TEST(Text, TrimRemovesSpacesAndTrimBlanksTabsToo) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"  a b  ", "a b", "a b"}, {"\ta\t", "\ta\t", "a"}, {"   ", "", ""}, {"", "", ""}};
    for (const auto& [text, trimmed, trimmedBlanks] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Trim(text), trimmed);
        EXPECT_EQ(TrimBlanks(text), trimmedBlanks);
        // A trim is a view into its text even when empty: parsers take offsets from it.
        const std::string_view whole(text);
        for (const std::string_view part : {Trim(whole), TrimBlanks(whole)}) {
            const std::less_equal<const char*> notAfter;
            EXPECT_TRUE(notAfter(whole.data(), part.data()) &&
                        notAfter(part.data() + part.size(), whole.data() + whole.size()));
        }
    }
}

} // namespace
