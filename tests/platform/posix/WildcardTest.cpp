// Hosted-only: file-name patterns matched as Windows matches them.
#include "ledgerline/platform/posix/Hosted.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

// '?' takes one character but nothing at a dot or at the end of the name; '*' before a dot
// stops at the name's last dot; a dot before a wildcard or at the end also matches the end
// of a name without a dot.
TEST(Wildcards, MatchAsWindowsMatches) {
    const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>> cases[] = {
        {"*", {"abc", "."}, {}},
        {"*.*", {"abc", "a.b", ".profile", ".."}, {}},
        {"*.", {"abc", "."}, {"a.txt"}},
        {"*.TXT", {"abc.txt", "a.b.txt"}, {"abc.txtx", "abc.txt.bak"}},
        {"*.me.*", {"read.me.txt"}, {}},
        {"*b", {"ab"}, {"abc"}},
        {"a?c", {"abc"}, {"ac", "a.c"}},
        {"ab?", {"ab", "abc"}, {"abcd"}},
        {"ab?.txt", {"ab.txt", "abc.txt"}, {"abcd.txt"}},
        {"abc.*", {"abc", "abc.d"}, {"abcd"}},
        {"abc.?", {"abc", "abc.d"}, {"abc.de"}},
    };
    for (const auto& [pattern, matching, notMatching] : cases) {
        for (const auto& [names, matches] : {std::pair{matching, true}, {notMatching, false}}) {
            for (const std::string& name : names) {
                EXPECT_EQ(platform::posix::MatchesPattern(name, pattern), matches)
                    << name << " ~ " << pattern;
            }
        }
    }
}

} // namespace
