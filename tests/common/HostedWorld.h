// Test helpers for the hosted build only (POSIX): a temporary prefix started like a program
// run, files in its drive C:, and environment variables put back afterwards.
#pragma once

#include "common/Environment.h"
#include "platform/Platform.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <stdlib.h>
#include <string>

namespace ldgr::commontest {

// Sets (or with nullopt removes) an environment variable for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : m_name(std::move(name)) {
        if (const char* old = getenv(m_name.c_str())) {
            m_old = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value) {
            setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

// A fresh prefix in a temporary folder, in force until the object goes (the folder is
// removed then), with a fresh environment record. The program runs as programPath, a host
// path relative to the prefix folder.
class TempPrefix {
public:
    explicit TempPrefix(const std::string& programPath = "drive_c/Ledgerline/ldgrmake")
        : m_folder(MakeTempFolder()), m_prefix("LDGR_PREFIX", m_folder.string()) {
        std::string invocation = (m_folder / programPath).string();
        char* argv[] = {invocation.data(), nullptr};
        platform::StartProgram(1, argv);
        BCommon::ResetEnvironment();
    }
    ~TempPrefix() {
        std::error_code ignored;
        // Folders a test made read-only are opened up again, so that removal works for any user.
        for (auto it = std::filesystem::recursive_directory_iterator(m_folder, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::remove_all(m_folder, ignored);
        BCommon::ResetEnvironment();
    }
    TempPrefix(const TempPrefix&) = delete;
    TempPrefix& operator=(const TempPrefix&) = delete;

    const std::filesystem::path& Folder() const { return m_folder; }

    // The host path of a path on drive C: given with backslashes and without "C:\".
    std::filesystem::path OnDriveC(std::string windowsRest) const {
        for (char& c : windowsRest) {
            c = c == '\\' ? '/' : c;
        }
        return m_folder / "drive_c" / windowsRest;
    }

    // Creates a folder on drive C: with its parents.
    std::filesystem::path MakeFolder(const std::string& windowsRest) const {
        const auto path = OnDriveC(windowsRest);
        std::filesystem::create_directories(path);
        return path;
    }

    // Writes a file on drive C:, replacing what was there; its folder must exist.
    std::filesystem::path WriteFile(const std::string& windowsRest,
                                    const std::string& bytes = "x") const {
        const auto path = OnDriveC(windowsRest);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }

private:
    static std::filesystem::path MakeTempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ldgr-common-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary prefix");
        }
        return pattern;
    }

    std::filesystem::path m_folder;
    ScopedEnv m_prefix;
};

// The text of a file, or nullopt when it cannot be read.
inline std::optional<std::string> ReadHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace ldgr::commontest
