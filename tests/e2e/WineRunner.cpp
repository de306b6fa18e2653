// Runs of the Windows build's ldgrmake.exe under Wine64 in an end-to-end world's prefix
// (hosted build only: POSIX file locks and process start).
#include "WineRunner.h"

#include "support/posix/TemporaryFolder.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <locale.h>
#include <mutex>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace e2e {
namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// The values the program reads, removed before a world's registry.reg is imported, so that
// file alone decides them, as it does on the hosted build.
constexpr const char* kRegistryReset =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Korvane Group]\r\n\r\n"
    "[-HKEY_CURRENT_USER\\Network]\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
    "\"Ledgerline\"=-\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers]\r\n"
    "\"DefaultSpoolDirectory\"=-\r\n";

// The Windows name of a host path: Z: is the host's root in every Wine prefix.
std::string OnDriveZ(std::string hostPath) {
    std::replace(hostPath.begin(), hostPath.end(), '/', '\\');
    return "Z:" + hostPath;
}

int Shell(const std::string& command) {
    return std::system(command.c_str());
}

// A prefix made once per build folder, beside the Windows program, that every world's prefix
// is linked from: making one costs many seconds, linking one a few milliseconds.
std::string TemplatePrefix() {
    const fs::path folder = fs::path(*WindowsProgram()).parent_path().parent_path();
    const std::string prefix = (folder / "e2e-wineprefix").string();
    const std::string ready = prefix + ".ready";
    if (fs::exists(ready)) {
        return prefix;
    }
    // One test process makes it while the others wait.
    const int lock = open((prefix + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    flock(lock, LOCK_EX);
    if (!fs::exists(ready)) {
        fs::remove_all(prefix);
        const std::string environment =
            "WINEPREFIX=" + Quoted(prefix) + " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='";
        if (Shell(environment + " wine wineboot -i >/dev/null 2>&1 </dev/null && " + environment +
                  " wineserver -w") == 0) {
            std::ofstream(ready) << "ready\n";
        }
    }
    close(lock);
    return prefix;
}

// Each world's registry.reg as last imported (nothing: it had none), for the runs' threads.
std::mutex importing;
std::map<std::string, std::optional<std::string>> imported;

// Before the first test against the Windows program: makes the shared prefix once, or skips
// every test when Wine or the program is missing (fails them under LDGR_REQUIRE_WINE).
class WineEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        if (!UnderWine()) {
            return;
        }
        std::string missing;
        if (Shell("command -v wine >/dev/null 2>&1") != 0) {
            missing = "wine is not installed";
        } else if (!fs::exists(*WindowsProgram())) {
            missing = *WindowsProgram() + " is not built (cmake --build --preset win64)";
        }
        if (missing.empty()) {
            TemplatePrefix();
        } else if (std::getenv("LDGR_REQUIRE_WINE") != nullptr) {
            GTEST_FAIL() << "LDGR_REQUIRE_WINE is set, but " << missing;
        } else {
            GTEST_SKIP() << missing;
        }
    }
};

[[maybe_unused]] const ::testing::Environment* const kWineEnvironment =
    ::testing::AddGlobalTestEnvironment(new WineEnvironment);

bool HostHasLocale(const std::string& name) {
    const locale_t locale = newlocale(LC_ALL_MASK, name.c_str(), locale_t{});
    if (locale != locale_t{}) {
        freelocale(locale);
    }
    return locale != locale_t{};
}

// The host locale Wine takes its regional settings and its code page from, for the hosted
// personality's LDGR_LOCALE: "en-US" is "en_US.UTF-8", or C.UTF-8 (which Wine reads as US
// English, UTF-8 names included) on a machine that never generated it. Another locale that is
// missing would make the run speak another language, so it stops the test instead.
std::string HostLocaleFor(std::string windowsLocale) {
    std::replace(windowsLocale.begin(), windowsLocale.end(), '-', '_');
    const std::string named = windowsLocale + ".UTF-8";
    if (HostHasLocale(named)) {
        return named;
    }
    if (windowsLocale == "en_US" && HostHasLocale("C.UTF-8")) {
        return "C.UTF-8";
    }
    throw std::runtime_error("the Wine runs need the host locale " + named +
                             ", which this machine lacks: generate it with locale-gen");
}

// Removes the values the program reads from the Wine registry when registry.reg changed.
void ResetWorldRegistry(const std::string& prefix,
                        const std::map<std::string, std::string>& settings) {
    const std::string registry = prefix + "/registry.reg";
    const auto text =
        fs::exists(registry) ? std::optional(ldgr::test::ReadHostFile(registry)) : std::nullopt;
    const std::lock_guard<std::mutex> lock(importing);
    if (const auto last = imported.find(prefix); last != imported.end() && last->second == text) {
        return;
    }
    std::string command = "hostname " + Quoted(settings.at("LDGR_COMPUTERNAME")) + " && env";
    for (const auto& [name, value] : settings) {
        command += " " + Quoted(name + "=" + value);
    }
    command += " wine reg import " + Quoted(OnDriveZ(prefix + "/registry-reset.reg")) + " /reg:32";
    // Under the world's computer name, as its programs run: the first program of a Wine
    // session decides the name the session's programs are told.
    const std::string output = prefix + "/registry-reset.log";
    if (const int status = Shell("unshare --uts /bin/sh -c " + Quoted(command) + " </dev/null >" +
                                 Quoted(output) + " 2>&1");
        status != 0) {
        throw std::runtime_error("cannot reset the registry of " + prefix + " (status " +
                                 std::to_string(status) + "): " + ldgr::test::ReadHostFile(output));
    }
    imported[prefix] = std::move(text);
}

} // namespace

std::optional<std::string> WindowsProgram() {
    const char* program = std::getenv("LDGR_E2E_WINDOWS_PROGRAM");
    if (program == nullptr || *program == '\0') {
        return std::nullopt;
    }
    return std::string(program);
}

void PrepareWinePrefix(const std::string& prefix) {
    const std::string source = TemplatePrefix();
    if (Shell("cp -a --link --no-clobber " + Quoted(source + "/.") + " " + Quoted(prefix)) != 0) {
        throw std::runtime_error("cannot link the Wine prefix " + source + " into " + prefix);
    }
    // The registry files are rewritten by the world's Wine server: each world has its own.
    for (const char* hive : {"system.reg", "user.reg", "userdef.reg"}) {
        fs::remove(prefix + "/" + hive);
        fs::copy_file(source + "/" + hive, prefix + "/" + hive);
    }
    // Debian's Wine names the folder of a prefix's server in its file "wineserver": linked, it
    // would make concurrent worlds share one server (and registry) that ends with one of them.
    fs::remove(prefix + "/wineserver");
    std::ofstream(prefix + "/registry-reset.reg", std::ios::binary) << kRegistryReset;
    // The server stays up until the world ends: one ending itself while idle can pull its
    // folder away under a program that is starting.
    if (Shell("WINEPREFIX=" + Quoted(prefix) + " wineserver -p </dev/null >/dev/null 2>&1") != 0) {
        throw std::runtime_error("cannot start a Wine server for " + prefix);
    }
}

void EndWineSession(const std::string& prefix) {
    Shell("WINEPREFIX=" + Quoted(prefix) + " wineserver -k >/dev/null 2>&1");
    const std::lock_guard<std::mutex> lock(importing);
    imported.erase(prefix);
}

WineRun PrepareWineRun(const std::string& prefix, const std::string& program,
                       std::map<std::string, std::string> settings) {
    settings["WINEPREFIX"] = prefix;
    settings["WINEDEBUG"] = "-all";
    settings["WINEDLLOVERRIDES"] = "mscoree,mshtml=";
    // Wine takes the user's name from the login name and its settings from the locale.
    settings["USER"] = settings["LDGR_USERNAME"];
    settings["LOGNAME"] = settings["LDGR_USERNAME"];
    settings["LC_ALL"] = HostLocaleFor(settings["LDGR_LOCALE"]);
    ResetWorldRegistry(prefix, settings);
    const std::string registry = prefix + "/registry.reg";
    // Imported into the 32-bit view only, where the suite's 32-bit setup writes: a build that
    // reads the other view finds none of the world's values.
    // A step before the program that fails says so: the run is then no run of the program.
    const char* script =
        "hostname \"$0\" || { echo \"cannot take the host name $0\" >&2; exit 125; }; "
        "[ ! -f \"$1\" ] || wine reg import \"$2\" /reg:32 >/dev/null || "
        "{ echo \"wine reg import ended with status $?\" >&2; exit 125; }; exec wine \"$3\"";
    return {.command = {"unshare", "--uts", "/bin/sh", "-c", script,
                        settings.at("LDGR_COMPUTERNAME"), registry, OnDriveZ(registry), program},
            .settings = settings};
}

} // namespace e2e
