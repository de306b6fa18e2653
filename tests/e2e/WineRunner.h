// Runs of the Windows build's ldgrmake.exe under Wine64, in the prefix of an end-to-end world
// (hosted build only: the tests drive the program from the host).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The Windows program the tests drive instead of the hosted one: LDGR_E2E_WINDOWS_PROGRAM
// names the built ldgrmake.exe. Nothing for runs of the hosted build.
std::optional<std::string> WindowsProgram();

// Whether the tests drive the Windows program; a test whose case only exists on the hosted
// build skips itself then, saying why.
inline bool UnderWine() {
    return WindowsProgram().has_value();
}

// Makes a world's prefix a Wine prefix as well: the files of a prepared prefix are linked in
// beside what the world holds (nothing of it replaced), its registry files copied.
void PrepareWinePrefix(const std::string& prefix);
// Ends the Wine server and the programs of a world's prefix.
void EndWineSession(const std::string& prefix);

// When a world's registry.reg changed since the last call (or went), removes from the Wine
// registry the values the program reads: a Wine prefix comes with values of its own, and an
// import only adds. Not at every run: a program started meanwhile would find them missing.
void ResetWorldRegistry(const std::string& prefix,
                        const std::map<std::string, std::string>& settings);

// The command that runs program (a host path) as the world's computer and user: the world's
// registry.reg is imported first (that only sets values, so programs running at the same
// moment never miss one), the computer name set in a namespace of its own.
std::vector<std::string> WineCommand(const std::string& prefix, const std::string& program,
                                     const std::map<std::string, std::string>& settings);

// The environment settings Wine runs with for a world: its prefix, the user, the locale, and
// no debug output or runtime-install dialogs.
std::map<std::string, std::string> WineSettings(const std::string& prefix,
                                                std::map<std::string, std::string> settings);

} // namespace e2e
