// Hosted-only test fixture: a fresh prefix per test and the process state restored afterwards.
#include "support/posix/HostedWorld.h"

#include "common/Environment.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

extern char** environ;

namespace ldgr::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::pair<std::string, std::string>> EnvironmentNow() {
    std::vector<std::pair<std::string, std::string>> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const auto equals = text.find('=');
        if (equals != std::string::npos) {
            variables.emplace_back(text.substr(0, equals), text.substr(equals + 1));
        }
    }
    return variables;
}

void RestoreEnvironment(const std::vector<std::pair<std::string, std::string>>& saved) {
    for (const auto& [name, value] : EnvironmentNow()) {
        unsetenv(name.c_str());
    }
    for (const auto& [name, value] : saved) {
        setenv(name.c_str(), value.c_str(), 1);
    }
}

std::string CurrentFolder() {
    std::error_code ignored;
    return fs::current_path(ignored).string();
}

} // namespace

void HostedWorld::SetUp() {
    m_savedEnvironment = EnvironmentNow();
    m_sSavedFolder = CurrentFolder();
    for (const auto& [name, value] : m_savedEnvironment) {
        if (name.starts_with("LDGR_")) {
            unsetenv(name.c_str());
        }
    }
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
    RestoreEnvironment(m_savedEnvironment);
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

void HostedWorld::SetVariable(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
}

void HostedWorld::UnsetVariable(const std::string& name) {
    unsetenv(name.c_str());
}

bool HostedWorld::HostExists(const std::string& hostPath) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(hostPath, ignored));
}

void HostedWorld::MakeHostFolders(const std::string& hostPath) {
    std::error_code error;
    fs::create_directories(hostPath, error);
    if (error) {
        ADD_FAILURE() << "cannot create " << hostPath << ": " << error.message();
    }
}

void HostedWorld::LinkDrive(char letter, const std::string& hostFolder) const {
    std::error_code error;
    fs::create_directory_symlink(hostFolder, Host(std::string("dosdevices/") + letter + ":"),
                                 error);
    if (error) {
        ADD_FAILURE() << "cannot link drive " << letter << ": " << error.message();
    }
}

} // namespace ldgr::test
