// A temporary host folder removed with everything in it, and host-file helpers.
#pragma once

#include <filesystem>
#include <string>

namespace ldgr::test {

class TemporaryFolder {
public:
    // A new folder <temporary folder>/<stem>.XXXXXX; throws when none can be made.
    explicit TemporaryFolder(const std::string& stem);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return m_sPath; }

private:
    std::string m_sPath;
};

// Writes a host file whole, making its folders first.
void WriteHostFile(const std::string& hostPath, const std::string& bytes);
// A host file's bytes; empty when it cannot be read.
std::string ReadHostFile(const std::string& hostPath);

} // namespace ldgr::test
