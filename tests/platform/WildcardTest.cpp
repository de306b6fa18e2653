// Hosted-only: file-name patterns matched as Windows matches them.
#include "platform/posix/Hosted.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    const char* pattern;
    bool matches;
};

// '?' takes one character but nothing at a dot or at the end of the name; '*' before a dot
// stops at the name's last dot; a dot before a wildcard or at the end also matches the end
// of a name without a dot.
constexpr Case kCases[] = {
    {"abc", "*", true},
    {".", "*", true},
    {"abc", "*.*", true},
    {"a.b", "*.*", true},
    {".profile", "*.*", true},
    {"..", "*.*", true},
    {"abc", "*.", true},
    {"a.txt", "*.", false},
    {".", "*.", true},
    {"abc", "abc.", true},
    {"ABC.TXT", "abc.txt", true},
    {"Machines", "machines", true},
    {"abc.txt", "*.TXT", true},
    {"abc.txtx", "*.txt", false},
    {"abc.txt.bak", "*.txt", false},
    {"a.b.txt", "*.txt", true},
    {"a.b.c", "*.c", true},
    {"a.b.c", "*.b", false},
    {"read.me.txt", "*.me.*", true},
    {"abc", "*c", true},
    {"abc", "*b", false},
    {"abc", "*b*", true},
    {"abc", "a?c", true},
    {"ac", "a?c", false},
    {"a.c", "a?c", false},
    {"ab", "ab?", true},
    {"abc", "ab?", true},
    {"abcd", "ab?", false},
    {"ab", "ab??", true},
    {"ab.txt", "ab?.txt", true},
    {"abc.txt", "ab?.txt", true},
    {"abcd.txt", "ab?.txt", false},
    {"abc", "???", true},
    {"ab", "???", true},
    {"abcd", "???", false},
    {"a.b", "???", false},
    {"1.prt", "?.prt", true},
    {"10.prt", "?.prt", false},
    {"1.prt", "*.prt", true},
    {"abc", "abc.*", true},
    {"abc.d", "abc.*", true},
    {"abcd", "abc.*", false},
    {"abc", "abc.?", true},
    {"abc.d", "abc.?", true},
    {"abc.de", "abc.?", false},
    {"abc", "abd", false},
    {"abc", "ab", false},
};

TEST(Wildcards, MatchAsWindowsMatches) {
    for (const Case& c : kCases) {
        EXPECT_EQ(platform::posix::MatchesPattern(c.name, c.pattern), c.matches)
            << "name \"" << c.name << "\", pattern \"" << c.pattern << "\"";
    }
}

} // namespace
