// The hosted prefix: the folder of the small Windows world, and its skeleton.
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {
namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/tmp";
}

void MakeFolderIfMissing(const std::string& hostPath) {
    if (!HostPathExists(hostPath)) {
        mkdir(hostPath.c_str(), 0777);
    }
}

// The prefix may name a folder whose parents do not exist yet; they are made as well.
void MakeFolderAndParentsIfMissing(const std::string& hostPath) {
    for (std::size_t slash = hostPath.find('/', 1); slash != std::string::npos;
         slash = hostPath.find('/', slash + 1)) {
        MakeFolderIfMissing(hostPath.substr(0, slash));
    }
    MakeFolderIfMissing(hostPath);
}

void MakeLinkIfMissing(const std::string& target, const std::string& hostPath) {
    if (!HostPathExists(hostPath)) {
        symlink(target.c_str(), hostPath.c_str());
    }
}

// LDGR_PREFIX when it is set and not empty, else null.
const char* PrefixVariable() {
    const char* prefix = std::getenv("LDGR_PREFIX");
    return prefix != nullptr && *prefix != '\0' ? prefix : nullptr;
}

} // namespace

std::string PrefixFolder() {
    if (const char* prefix = PrefixVariable()) {
        return prefix;
    }
    return HomeFolder() + "/.ledgerline";
}

bool IsPrefixFolder(const std::string& folder) {
    if (const char* prefix = PrefixVariable()) {
        return folder == prefix;
    }
    return folder == PrefixFolder();
}

void EnsureSkeleton() {
    const std::string prefix = PrefixFolder();
    MakeFolderAndParentsIfMissing(prefix);
    MakeFolderIfMissing(prefix + "/dosdevices");
    MakeFolderIfMissing(prefix + "/drive_c");
    MakeLinkIfMissing("../drive_c", prefix + "/dosdevices/c:");
    MakeLinkIfMissing("/", prefix + "/dosdevices/z:");
    MakeFolderIfMissing(prefix + "/drive_c/windows");
    MakeFolderIfMissing(prefix + "/drive_c/windows/system32");
    MakeFolderIfMissing(prefix + "/drive_c/users");
    // Made as a path to it names it: "bob " names the folder "bob".
    MakeFolderIfMissing(prefix + "/drive_c/users/" +
                        CodePageToHost(WithoutTrailingDotsAndBlanks(ProfileUserName())));
}

} // namespace platform::posix
