// Runs of the Windows build's ldgrmake.exe under Wine64, in the prefix of an end-to-end world
// (hosted build only: the tests drive the program from the host).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The built ldgrmake.exe that LDGR_E2E_WINDOWS_PROGRAM names, driven instead of the hosted one.
std::optional<std::string> WindowsProgram();

// Whether the tests drive the Windows program; a hosted-only case then skips itself.
inline bool UnderWine() {
    return WindowsProgram().has_value();
}

// Skips a case only the hosted build can run (its else keeps a later else off its if).
#define LDGR_HOSTED_ONLY(why)                                                                      \
    if (!::e2e::UnderWine()) {                                                                     \
    } else                                                                                         \
        GTEST_SKIP() << "hosted build only: " why

// Makes a world's prefix a Wine prefix too (a prepared prefix linked in beside the world), and
// ends its Wine server and programs.
void PrepareWinePrefix(const std::string& prefix);
void EndWineSession(const std::string& prefix);

// A run of program (a host path) under Wine as the world's computer and user: the command, which
// imports the world's registry.reg first (an import only sets values, so concurrent programs never
// miss one), and the environment Wine runs with (the world's prefix, user and locale, no debug
// output or runtime-install dialogs). When registry.reg changed since the last run, the values
// the program reads are first removed from the Wine registry: a Wine prefix has values of its
// own. Not at every run: a program started meanwhile would find them missing.
struct WineRun {
    std::vector<std::string> command;
    std::map<std::string, std::string> settings;
};
WineRun PrepareWineRun(const std::string& prefix, const std::string& program,
                       std::map<std::string, std::string> settings);

} // namespace e2e
