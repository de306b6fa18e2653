// Hosted-only test fixture: a fresh prefix per test and the process state restored afterwards.
#include "support/HostedWorld.h"

#include "common/Environment.h"
#include "platform/Platform.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string NewTemporaryFolder(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / stem).string() + ".XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
        return {};
    }
    return pattern;
}

// Removes a test's folder even where a test took the write rights away. Links are removed,
// never followed (the prefix links z: to the host root).
void RemoveTree(const std::string& hostFolder) {
    if (hostFolder.empty()) {
        return;
    }
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(hostFolder, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(hostFolder, ignored);
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
    m_sPrefix = NewTemporaryFolder("ldgr-prefix");
    SetVariable("LDGR_PREFIX", m_sPrefix);
    MakeHostFolders(ProgramFolder());
    StartAs(ProgramFolder() + "/ldgrmake");
    BCommon::ResetEnvironment();
}

void HostedWorld::TearDown() {
    BCommon::ResetEnvironment();
    std::error_code ignored;
    fs::current_path(m_sSavedFolder, ignored);
    RestoreEnvironment(m_savedEnvironment);
    RemoveTree(m_sPrefix);
    RemoveTree(m_sScratch);
}

const std::string& HostedWorld::Scratch() {
    if (m_sScratch.empty()) {
        m_sScratch = NewTemporaryFolder("ldgr-scratch");
    }
    return m_sScratch;
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

void HostedWorld::WriteHostFile(const std::string& hostPath, const std::string& bytes) {
    std::ofstream file(hostPath, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        ADD_FAILURE() << "cannot write " << hostPath;
    }
}

std::string HostedWorld::ReadHostFile(const std::string& hostPath) {
    std::ifstream file(hostPath, std::ios::binary);
    if (!file) {
        ADD_FAILURE() << "cannot read " << hostPath;
        return {};
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
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
