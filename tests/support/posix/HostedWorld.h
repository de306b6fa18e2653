// Hosted-only test fixture: a fresh prefix per test, a fake program identity, a clean
// environment record, and the process environment and current folder restored afterwards.
#pragma once

#include "support/posix/TemporaryFolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ldgr::test {

// Every test gets its own prefix in a new temporary folder. The LDGR_* variables of whoever
// runs the suite are removed first, so their settings never leak into a test; every
// variable a test sets is put back when it ends.
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

    // Process environment, restored after the test.
    static void SetVariable(const std::string& name, const std::string& value);
    static void UnsetVariable(const std::string& name);

    // Small host-side helpers for arranging and checking files.
    static void WriteHostFile(const std::string& hostPath, const std::string& bytes) {
        test::WriteHostFile(hostPath, bytes);
    }
    static std::string ReadHostFile(const std::string& hostPath) {
        return test::ReadHostFile(hostPath);
    }
    static bool HostExists(const std::string& hostPath);
    static void MakeHostFolders(const std::string& hostPath);
    // Makes a dosdevices entry: letter ("d") -> host folder.
    void LinkDrive(char letter, const std::string& hostFolder) const;

private:
    std::unique_ptr<TemporaryFolder> m_prefix;
    std::unique_ptr<TemporaryFolder> m_scratch;
    std::string m_sSavedFolder;
    std::vector<std::pair<std::string, std::string>> m_savedEnvironment;
};

} // namespace ldgr::test
