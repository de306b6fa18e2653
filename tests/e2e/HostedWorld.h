// A fresh hosted prefix holding the example environment, and runs of the built ldgrmake in it.
#pragma once

#include "support/posix/TemporaryFolder.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using ldgr::test::ReadHostFile;
using ldgr::test::WriteHostFile;

struct RunResult {
    int exitCode = -1;
    std::string stderrText;
    std::string stdoutText;
};

class HostedWorld {
public:
    HostedWorld();
    ~HostedWorld();
    HostedWorld(const HostedWorld&) = delete;
    HostedWorld& operator=(const HostedWorld&) = delete;

    // Host path of a Windows path on drive C: ("Ledgerline\\Config.ini").
    std::string OnDriveC(const std::string& windowsPath) const;
    std::string Prefix() const { return Root() + "/prefix"; }
    std::string Root() const { return m_root.Path(); }

    // Sets (or, with nullopt, removes) an entry of the shared configuration's [GENERAL].
    void SetGeneralOption(const std::string& key, const std::optional<std::string>& value) const;

    // Host folder the runs start in; by default the test's own current folder.
    void SetWorkingFolder(const std::string& hostFolder) { m_sWorkingFolder = hostFolder; }
    // Every path below a host folder that holds the text (or only its own entries), relative
    // to it, sorted.
    std::vector<std::string> Tree(const std::string& hostFolder,
                                  const std::string& holding = "") const;
    std::vector<std::string> FolderNames(const std::string& hostFolder) const;

    // Environment of the runs: the defaults of the constructor plus these.
    void SetEnv(const std::string& name, const std::string& value) { m_env[name] = value; }

    // Runs ldgrmake under another name (a copy of the built binary), optionally through a
    // wrapper command (such as prlimit), and waits for it.
    RunResult Run(const std::string& programName = "ldgrmake",
                  const std::vector<std::string>& wrapper = {}) const;
    // Runs a host command (such as the built ldgrcheck) in the world's environment.
    RunResult RunCommand(const std::vector<std::string>& command) const;

    std::string UserFolder() const { return OnDriveC("Ledgerline\\Data\\users\\alice"); }
    std::string LocalFolder() const { return OnDriveC("users\\alice\\LdgrApp"); }
    std::string DebugLog(const std::string& programName = "ldgrmake") const;
    std::string MessageBoxLog() const { return ReadHostFile(Root() + "/boxes.jsonl"); }

private:
    ldgr::test::TemporaryFolder m_root{"ldgr-e2e"};
    std::string m_sWorkingFolder;
    std::map<std::string, std::string> m_env;
};

// The lines of a CR LF text, without their ends.
std::vector<std::string> Lines(const std::string& text);

// The text of the box that ends a run with a run-time error, as the box log holds it.
inline std::string RunTimeErrorBox(int number, const std::string& description) {
    return "\"text\":\"Run-time error '" + std::to_string(number) + "':\\r\\r" + description + "\"";
}

} // namespace e2e
