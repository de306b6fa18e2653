// Hosted-only: file-name patterns matched as Windows matches them.
#include "platform/posix/Hosted.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// '?' takes one character but nothing at a dot or at the end of the name; '*' before a dot
// stops at the name's last dot; a dot before a wildcard or at the end also matches the end
// of a name without a dot.
TEST(Wildcards, MatchAsWindowsMatches) {
    struct Case {
        const char* pattern;
        std::vector<std::string> matching;
        std::vector<std::string> notMatching;
    };
    const Case cases[] = {
        {"*", {"abc", "."}, {}},
        {"*.*", {"abc", "a.b", ".profile", ".."}, {}},
        {"*.", {"abc", "."}, {"a.txt"}},
        {"abc.", {"abc"}, {"abc.d"}},
        {"abc.txt", {"ABC.TXT"}, {"abd.txt", "abc"}},
        {"*.TXT", {"abc.txt", "a.b.txt"}, {"abc.txtx", "abc.txt.bak"}},
        {"*.me.*", {"read.me.txt"}, {}},
        {"*b", {"ab"}, {"abc"}},
        {"*b*", {"abc"}, {}},
        {"a?c", {"abc"}, {"ac", "a.c"}},
        {"ab?", {"ab", "abc"}, {"abcd"}},
        {"ab??", {"ab"}, {}},
        {"ab?.txt", {"ab.txt", "abc.txt"}, {"abcd.txt"}},
        {"???", {"abc", "ab"}, {"abcd", "a.b"}},
        {"?.prt", {"1.prt"}, {"10.prt"}},
        {"abc.*", {"abc", "abc.d"}, {"abcd"}},
        {"abc.?", {"abc", "abc.d"}, {"abc.de"}},
    };
    for (const Case& c : cases) {
        for (const std::string& name : c.matching) {
            EXPECT_TRUE(platform::posix::MatchesPattern(name, c.pattern))
                << name << " ~ " << c.pattern;
        }
        for (const std::string& name : c.notMatching) {
            EXPECT_FALSE(platform::posix::MatchesPattern(name, c.pattern))
                << name << " ~ " << c.pattern;
        }
    }
}

} // namespace
