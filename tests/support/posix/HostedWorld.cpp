// Hosted-only test fixture: a fresh prefix per test and the process state restored afterwards.
#include "support/posix/HostedWorld.h"

#include "ledgerline/common/Environment.h"
#include "ledgerline/platform/Platform.h"

#include <filesystem>
#include <fstream>

extern char** environ;

namespace ldgr::test {

namespace fs = std::filesystem;

void HostedWorld::SetUp() {
    for (char** entry = environ; *entry != nullptr; ++entry) {
        m_savedEnvironment.emplace_back(*entry);
    }
    for (const std::string& entry : m_savedEnvironment) {
        if (entry.starts_with("LDGR_")) {
            UnsetVariable(entry.substr(0, entry.find('=')));
        }
    }
    std::error_code ignored;
    m_sSavedFolder = fs::current_path(ignored).string();
    m_prefix = std::make_unique<TemporaryFolder>("ldgr-prefix");
    SetVariable("LDGR_PREFIX", Prefix());
    MakeHostFolders(ProgramFolder());
    StartAs(ProgramFolder() + "/ldgrmake");
    BCommon::ResetEnvironment();
}

void HostedWorld::TearDown() {
    BCommon::ResetEnvironment();
    std::error_code ignored;
    fs::current_path(m_sSavedFolder, ignored);
    clearenv();
    for (const std::string& entry : m_savedEnvironment) {
        const auto equals = entry.find('=');
        SetVariable(entry.substr(0, equals), entry.substr(equals + 1));
    }
    m_prefix.reset();
    m_scratch.reset();
}

const std::string& HostedWorld::Scratch() {
    if (!m_scratch) {
        m_scratch = std::make_unique<TemporaryFolder>("ldgr-scratch");
    }
    return m_scratch->Path();
}

void HostedWorld::StartAs(const std::string& argv0) {
    std::string name = argv0;
    char* argv[] = {name.data(), nullptr};
    platform::StartProgram(1, argv);
}

bool HostedWorld::HostExists(const std::string& hostPath) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(hostPath, ignored));
}

void HostedWorld::LinkDrive(char letter, const std::string& hostFolder) const {
    fs::create_directory_symlink(hostFolder, Host(std::string("dosdevices/") + letter + ":"));
}

std::optional<std::uint64_t> HostedWorld::BytesReadSoFar() {
    std::ifstream counters("/proc/self/io");
    std::string name;
    std::uint64_t count = 0;
    while (counters >> name >> count) {
        if (name == "rchar:") {
            return count;
        }
    }
    return std::nullopt;
}

} // namespace ldgr::test
