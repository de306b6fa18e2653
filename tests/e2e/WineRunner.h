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

// When a world's registry.reg changed since the last call, removes from the Wine registry the
// values the program reads: a Wine prefix has values of its own, and an import only adds. Not
// at every run: a program started meanwhile would find them missing.
void ResetWorldRegistry(const std::string& prefix,
                        const std::map<std::string, std::string>& settings);

// The command that runs program (a host path) as the world's computer and user, importing the
// world's registry.reg first (that only sets values, so concurrent programs never miss one).
std::vector<std::string> WineCommand(const std::string& prefix, const std::string& program,
                                     const std::map<std::string, std::string>& settings);

// The environment Wine runs with for a world: its prefix, user and locale, no debug output or
// runtime-install dialogs.
std::map<std::string, std::string> WineSettings(const std::string& prefix,
                                                std::map<std::string, std::string> settings);

} // namespace e2e
