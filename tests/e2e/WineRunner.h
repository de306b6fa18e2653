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

// Makes the Wine registry of a world's prefix say what its registry.reg says (nothing, when
// there is none), when that changed since the last call. The import happens only then, not
// at every run: an import first removes the values, and a program started meanwhile would
// find them missing.
void ImportWorldRegistry(const std::string& prefix,
                         const std::map<std::string, std::string>& settings);

// The command that runs program (a host path) as the world's computer and user, the
// computer name set in a namespace of its own.
std::vector<std::string> WineCommand(const std::string& program,
                                     const std::map<std::string, std::string>& settings);

// The environment settings Wine runs with for a world: its prefix, the user, the locale, and
// no debug output or runtime-install dialogs.
std::map<std::string, std::string> WineSettings(const std::string& prefix,
                                                std::map<std::string, std::string> settings);

} // namespace e2e
