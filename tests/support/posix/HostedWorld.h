// Hosted-only test fixture: a fresh prefix per test and the process state restored afterwards.
#pragma once

#include "support/posix/TemporaryFolder.h"

#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ldgr::test {

// The LDGR_* variables of whoever runs the suite are removed first, so their settings never
// leak into a test; every variable a test sets is put back when it ends.
class HostedWorld : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The prefix folder (host path, no trailing slash).
    const std::string& Prefix() const { return m_prefix->Path(); }
    // A host path inside the prefix: Host("drive_c/windows").
    std::string Host(const std::string& relative) const { return Prefix() + "/" + relative; }
    // A scratch host folder outside the prefix, created on first use and removed at the end.
    const std::string& Scratch();

    // The program as started by the fixture: argv[0] is <ProgramFolder>/ldgrmake, with
    // ProgramFolder the host folder of C:\Program Files\Ledgerline.
    std::string ProgramFolder() const { return Host("drive_c/Program Files/Ledgerline"); }
    static constexpr const char* kProgramFolderWindows = "C:\\Program Files\\Ledgerline";
    // Runs platform::StartProgram again with another argv[0] (host path or bare name).
    void StartAs(const std::string& argv0);

    static void SetVariable(const std::string& name, const std::string& value) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    static void UnsetVariable(const std::string& name) { unsetenv(name.c_str()); }

    static void WriteHostFile(const std::string& hostPath, const std::string& bytes) {
        test::WriteHostFile(hostPath, bytes);
    }
    static std::string ReadHostFile(const std::string& hostPath) {
        return test::ReadHostFile(hostPath);
    }
    static bool HostExists(const std::string& hostPath);
    // Failures throw, which fails the test with the system's reason.
    static void MakeHostFolders(const std::string& hostPath) {
        std::filesystem::create_directories(hostPath);
    }
    // Makes a dosdevices entry: letter ("d") -> host folder.
    void LinkDrive(char letter, const std::string& hostFolder) const;
    // The bytes this process has read from files so far, as the host counts them; nothing
    // where the host does not say.
    static std::optional<std::uint64_t> BytesReadSoFar();

private:
    std::unique_ptr<TemporaryFolder> m_prefix;
    std::unique_ptr<TemporaryFolder> m_scratch;
    std::string m_sSavedFolder;
    std::vector<std::string> m_savedEnvironment; // NAME=value
};

} // namespace ldgr::test
