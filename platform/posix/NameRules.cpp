// The names the hosted identity accepts: only those Windows could report for a user or a
// computer, so that a name from the environment can never lead a path out of its folder.
#include "platform/posix/Hosted.h"

#include <cstdio>
#include <cstdlib>

namespace platform::posix {
namespace {

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// The first control character or character of forbidden, described for a message.
std::string ForbiddenCharacterIn(std::string_view name, std::string_view forbidden) {
    for (const char c : name) {
        if (IsControl(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(c));
            return std::string("it contains the control character ") + code;
        }
        if (forbidden.find(c) != std::string_view::npos) {
            return std::string("it contains \"") + c + "\"";
        }
    }
    return {};
}

bool MadeOnlyOf(std::string_view name, std::string_view characters) {
    return !name.empty() && name.find_first_not_of(characters) == std::string_view::npos;
}

// The name as one printable line: control characters shown by their code.
std::string Printable(std::string_view name) {
    std::string shown;
    for (const char c : name) {
        if (IsControl(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
            shown += code;
        } else {
            shown += c;
        }
    }
    return shown;
}

void RefuseIfUnreportable(const char* variable, const char* kind,
                          std::string (*problemOf)(std::string_view)) {
    const char* value = std::getenv(variable);
    if (value == nullptr) {
        return;
    }
    const std::string problem = problemOf(value);
    if (problem.empty()) {
        return;
    }
    std::fprintf(stderr, "%s \"%s\" is not a %s Windows could report: %s\n", variable,
                 Printable(value).c_str(), kind, problem.c_str());
    std::exit(2);
}

} // namespace

std::string UserNameProblem(std::string_view name) {
    if (std::string problem = ForbiddenCharacterIn(name, "\"/\\[]:;|=,+*?<>"); !problem.empty()) {
        return problem;
    }
    // A blank name is one a query may return (start-up then logs to "general"); dots alone
    // would name a folder above.
    const bool onlyDots = MadeOnlyOf(name, ". ") && name.find('.') != std::string_view::npos;
    return onlyDots ? "it is made only of dots and blanks" : std::string();
}

std::string ComputerNameProblem(std::string_view name) {
    if (std::string problem = ForbiddenCharacterIn(name, "\\/:*?\"<>|"); !problem.empty()) {
        return problem;
    }
    return MadeOnlyOf(name, ".") ? "it is made only of dots" : std::string();
}

void RefuseUnreportableNames() {
    RefuseIfUnreportable("LDGR_USERNAME", "user name", UserNameProblem);
    RefuseIfUnreportable("LDGR_COMPUTERNAME", "computer name", ComputerNameProblem);
}

} // namespace platform::posix
