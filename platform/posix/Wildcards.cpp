// File-name patterns with * and ?, matched as Windows matches them.
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <vector>

namespace platform::posix {
namespace {

// A pattern character as Windows reads it before matching: '?' never takes a dot and takes
// nothing at a dot or at the end of the name; '*' before a dot stops at the name's last dot;
// a dot before a wildcard or at the end of the pattern also matches the end of the name.
enum class Token { Literal, Star, StarBeforeDot, Question, DotOrEnd };

Token TokenAt(const std::string& pattern, std::size_t j) {
    const bool last = j + 1 == pattern.size();
    const char next = last ? '\0' : pattern[j + 1];
    switch (pattern[j]) {
    case '*':
        return next == '.' ? Token::StarBeforeDot : Token::Star;
    case '?':
        return Token::Question;
    case '.':
        return last || next == '*' || next == '?' ? Token::DotOrEnd : Token::Literal;
    default:
        return Token::Literal;
    }
}

} // namespace

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    // What a listing of a whole folder asks: every name matches, and a large folder is not
    // matched name by name.
    if (pattern == "*" || pattern == "*.*") {
        return true;
    }
    // match[i][j]: the name from i matches the pattern from j.
    const std::size_t n = name.size();
    const std::size_t m = pattern.size();
    const std::size_t lastDot = name.find_last_of('.');
    std::vector<std::vector<char>> match(n + 1, std::vector<char>(m + 1, 0));
    match[n][m] = 1;
    for (std::size_t j = m; j-- > 0;) {
        const Token token = TokenAt(pattern, j);
        for (std::size_t i = n + 1; i-- > 0;) {
            const bool atEnd = i == n;
            const bool atDot = !atEnd && name[i] == '.';
            bool ok = false;
            switch (token) {
            case Token::Star:
                ok = match[i][j + 1] || (!atEnd && match[i + 1][j]);
                break;
            case Token::StarBeforeDot:
                ok = match[i][j + 1] || (!atEnd && i != lastDot && match[i + 1][j]);
                break;
            case Token::Question:
                ok = atEnd || atDot ? match[i][j + 1] : match[i + 1][j + 1];
                break;
            case Token::DotOrEnd:
                ok = atDot ? match[i + 1][j + 1] : atEnd && match[i][j + 1];
                break;
            case Token::Literal:
                ok = !atEnd && UpperCodePage(name[i]) == UpperCodePage(pattern[j]) &&
                     match[i + 1][j + 1];
                break;
            }
            match[i][j] = ok ? 1 : 0;
        }
    }
    return match[0][0] != 0;
}

} // namespace platform::posix
