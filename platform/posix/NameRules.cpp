// The names the hosted identity accepts: only those Windows could report for a user or a
// computer, so that a name from the environment can never lead a path out of its folder.
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/Hosted.h"

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

// What keeps a name given to the program from being one Windows could report, judged as the
// program sees it, in its code page: a character the code page lacks became "?" on the way.
std::string ProblemInCodePage(std::string_view hostName,
                              std::string (*problemOf)(std::string_view)) {
    const std::string name = HostToCodePage(hostName);
    if (name.find('?') != std::string::npos && hostName.find('?') == std::string_view::npos) {
        return "it holds a character the system's code page lacks";
    }
    return problemOf(name);
}

void RefuseIfUnreportable(const std::string& what, std::string_view value, const char* kind,
                          std::string (*problemOf)(std::string_view)) {
    const std::string problem = ProblemInCodePage(value, problemOf);
    if (problem.empty()) {
        return;
    }
    std::fprintf(stderr, "%s \"%s\" is not a %s Windows could report: %s\n", what.c_str(),
                 Printable(value).c_str(), kind, problem.c_str());
    std::exit(2);
}

void RefuseIfUnreportable(const char* variable, const char* kind,
                          std::string (*problemOf)(std::string_view)) {
    if (const char* value = std::getenv(variable); value != nullptr) {
        RefuseIfUnreportable(variable, value, kind, problemOf);
    }
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

std::string FileNameProblem(std::string_view name) {
    return ForbiddenCharacterIn(name, "<>:\"|?*\\/");
}

void RefuseUnreportableNames(std::string_view programPath) {
    RefuseIfUnreportable("LDGR_USERNAME", "user name", UserNameProblem);
    RefuseIfUnreportable("LDGR_COMPUTERNAME", "computer name", ComputerNameProblem);
    RefuseIfUnreportable("the program name", programPath.substr(programPath.find_last_of('/') + 1),
                         "file name", FileNameProblem);
}

} // namespace platform::posix
