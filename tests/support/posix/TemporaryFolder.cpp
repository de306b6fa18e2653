// A temporary host folder removed with everything in it, and host-file helpers.
#include "support/posix/TemporaryFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ldgr::test {

namespace fs = std::filesystem;

TemporaryFolder::TemporaryFolder(const std::string& stem) {
    std::string pattern = (fs::temp_directory_path() / stem).string() + ".XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    }
    m_sPath = pattern;
}

// Removes the folder even where a test took the rights away. Links are skipped, never followed:
// a prefix links z: to the host root.
TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    fs::permissions(m_sPath, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(m_sPath, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(m_sPath, ignored);
}

void WriteHostFile(const std::string& hostPath, const std::string& bytes) {
    std::error_code ignored;
    fs::create_directories(fs::path(hostPath).parent_path(), ignored);
    std::ofstream(hostPath, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadHostFile(const std::string& hostPath) {
    std::ifstream file(hostPath, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

} // namespace ldgr::test
